#include "bomcore/bomsource.h"

namespace kem {

namespace {

std::unique_ptr<BomReader> makeReader(Database &db, BomSource::Path path)
{
    if (path == BomSource::Path::Cached)
        return std::make_unique<CachedBomReader>(db);
    return std::make_unique<DbBomReader>(db);
}

} // namespace

BomSource::BomSource(Database &db, const CompanyParams &params, MessageSink &sink, Path path)
    : db_(db), params_(params), path_(path), log_(sink), reader_(makeReader(db, path)),
      prices_(db, params, log_), rollup_(*reader_, prices_, params, log_, cycles_)
{
    rollup_.setKeepValues(path == Path::Cached);
}

BomSource::RunScope::RunScope(BomSource &source)
    : source_(source), statementCache_(source.db_.statementCache())
{
    const bool cached = source.path_ == Path::Cached;
    source_.db_.setStatementCache(cached);
    try {
        if (cached)
            transaction_.emplace(source_.db_);
    } catch (...) {
        source_.db_.setStatementCache(statementCache_);
        throw;
    }
}

BomSource::RunScope::~RunScope()
{
    transaction_.reset();
    source_.db_.setStatementCache(statementCache_);
}

void BomSource::beginRun()
{
    endRun();
    if (path_ != Path::Cached)
        return;
    reader_->beginRun();
    prices_.preload(static_cast<qint16>(params_.workingDate.year()), params_.workingDate);
}

void BomSource::endRun()
{
    reader_->endRun();
    rollup_.clearCache();
    cycles_.clear();
    prices_.forgetPreloaded();
}

} // namespace kem
