#pragma once
// Wire protocol between kemora-menu and the programs it launches.
//
// Transport: a QLocalSocket (a Unix domain socket on Linux). The server listens under a unique
// name, handed to the launched program with the "M" switch.
//
// Framing: every message is one frame = 4-byte big-endian unsigned length N, then N bytes of a
// QDataStream (version Qt_6_4) holding one QVariantMap. Frames above MaxFrameBytes are refused
// and the connection is dropped. QDataStream keeps QVariant types, so a parameter arrives as
// the text, number or list it was sent as; an absent parameter stays an invalid QVariant.
//
// Messages (map keys in quotes):
//   program -> menu   "t"="call",   "id" (qint64, unique per connection), "op" (operation name,
//                     e.g. "MenuVar"), "args" (QVariantList, the operation's arguments in order)
//   menu -> program   "t"="reply",  "id" of the call, "ok" (bool), "result" (QVariant) when ok,
//                     "error" (text) when not
//   menu -> program   "t"="cmd",    "id" (qint64, unique per connection), "text1", "text2",
//                     "command", "param" (QVariant): the EseguiComando event
//   program -> menu   "t"="answer", "id" of the command, "result" (QVariant)
// Calls are answered in order; a program waits for the reply of each call (synchronous), and
// queues commands that arrive meanwhile. The menu never waits synchronously for an answer.
#include "platform/menu/menuserver.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace kem::menuproto {

inline constexpr quint32 MaxFrameBytes = 16u * 1024u * 1024u;

// Message kinds and keys.
inline const QString KindCall = QStringLiteral("call");
inline const QString KindReply = QStringLiteral("reply");
inline const QString KindCommand = QStringLiteral("cmd");
inline const QString KindAnswer = QStringLiteral("answer");

QByteArray EncodeFrame(const QVariantMap &message);

QVariantMap MakeCall(qint64 id, const QString &op, const QVariantList &args);
QVariantMap MakeReply(qint64 id, const QVariant &result);
QVariantMap MakeFailure(qint64 id, const QString &error);
QVariantMap MakeCommand(qint64 id, const QString &text1, const QString &text2,
                        const QString &command, const QVariant &param);
QVariantMap MakeAnswer(qint64 id, const QVariant &result);

// The MenuLaunchParams result travels as a map with the four property names as keys.
QVariantMap LaunchParamsToMap(const LaunchParams &p);
LaunchParams LaunchParamsFromMap(const QVariantMap &m);

// Accumulates bytes read from a socket and cuts them into messages.
class FrameReader {
public:
    enum class Status { NeedMore, Message, Error };
    void append(const QByteArray &bytes);
    // Takes the next complete message. After Error the stream is unusable.
    Status next(QVariantMap *message, QString *error);
private:
    QByteArray buffer_;
    bool broken_ = false;
};

} // namespace kem::menuproto
