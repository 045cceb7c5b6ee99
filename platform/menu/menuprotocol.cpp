#include "platform/menu/menuprotocol.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace kem::menuproto {

namespace {
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
}

QByteArray EncodeFrame(const QVariantMap &message)
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(kStreamVersion);
        out << message;
    }
    QByteArray frame(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), frame.data());
    frame.append(payload);
    return frame;
}

QVariantMap MakeCall(qint64 id, const QString &op, const QVariantList &args)
{
    return {{"t", KindCall}, {"id", id}, {"op", op}, {"args", args}};
}

QVariantMap MakeReply(qint64 id, const QVariant &result)
{
    return {{"t", KindReply}, {"id", id}, {"ok", true}, {"result", result}};
}

QVariantMap MakeFailure(qint64 id, const QString &error)
{
    return {{"t", KindReply}, {"id", id}, {"ok", false}, {"error", error}};
}

QVariantMap MakeCommand(qint64 id, const QString &text1, const QString &text2,
                        const QString &command, const QVariant &param)
{
    return {{"t", KindCommand}, {"id", id},           {"text1", text1},
            {"text2", text2},   {"command", command}, {"param", param}};
}

QVariantMap MakeAnswer(qint64 id, const QVariant &result)
{
    return {{"t", KindAnswer}, {"id", id}, {"result", result}};
}

QVariantMap LaunchParamsToMap(const LaunchParams &p)
{
    return {{"osParam", p.osParam},
            {"osChiLancia", p.osChiLancia},
            {"osKeySecLancia", p.osKeySecLancia},
            {"osParamLancia", p.osParamLancia}};
}

LaunchParams LaunchParamsFromMap(const QVariantMap &m)
{
    return {m.value("osParam").toString(), m.value("osChiLancia").toString(),
            m.value("osKeySecLancia").toString(), m.value("osParamLancia").toString()};
}

void FrameReader::append(const QByteArray &bytes)
{
    if (!broken_)
        buffer_.append(bytes);
}

FrameReader::Status FrameReader::next(QVariantMap *message, QString *error)
{
    if (broken_) {
        if (error)
            *error = QStringLiteral("flusso di messaggi del menu non valido");
        return Status::Error;
    }
    if (buffer_.size() < 4)
        return Status::NeedMore;
    const quint32 length = qFromBigEndian<quint32>(buffer_.constData());
    if (length > MaxFrameBytes) {
        broken_ = true;
        buffer_.clear();
        if (error)
            *error = QStringLiteral("messaggio del menu troppo lungo (%1 byte)").arg(length);
        return Status::Error;
    }
    if (quint64(buffer_.size()) < 4u + quint64(length))
        return Status::NeedMore;
    const QByteArray payload = buffer_.mid(4, qsizetype(length));
    buffer_.remove(0, 4 + qsizetype(length));
    QDataStream in(payload);
    in.setVersion(kStreamVersion);
    QVariantMap decoded;
    in >> decoded;
    if (in.status() != QDataStream::Ok || !in.atEnd() || !decoded.contains("t")) {
        broken_ = true;
        buffer_.clear();
        if (error)
            *error = QStringLiteral("messaggio del menu illeggibile");
        return Status::Error;
    }
    *message = decoded;
    return Status::Message;
}

} // namespace kem::menuproto
