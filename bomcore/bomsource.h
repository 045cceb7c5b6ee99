#pragma once
// BomSource: the reads and the valuation a run works with, put together for one way of
// running. Straightforward: autocommit, statements prepared anew, every read a statement and
// every value worked out again. Cached: one read transaction per run with prepared statements
// reused, the company's structure and prices read in bulk at the start and values kept until
// the run ends.
#include "bomcore/bomcycles.h"
#include "bomcore/bomreader.h"
#include "bomcore/costrollup.h"
#include "bomcore/messagelog.h"
#include "bomcore/pricelookup.h"
#include "common/companyparams.h"
#include "platform/db/kemdb.h"

#include <memory>
#include <optional>

namespace kem {

class BomSource {
public:
    enum class Path { Straightforward, Cached };

    BomSource(Database &db, const CompanyParams &params, MessageSink &sink,
              Path path = Path::Straightforward);
    BomSource(const BomSource &) = delete;
    BomSource &operator=(const BomSource &) = delete;

    Path path() const { return path_; }
    Database &db() { return db_; }
    BomReader &reader() { return *reader_; }
    PriceLookup &prices() { return prices_; }
    CostRollup &rollup() { return rollup_; }
    // Where the valuation's messages go (to the sink given).
    MessageLog &messages() { return log_; }
    // The cycles met in the run, told once whoever meets them (the valuation, an explosion).
    BomCycles &cycles() { return cycles_; }

    // The database set up for a run while it lives (statement cache and, cached, the read
    // transaction), put back as it was afterwards.
    class RunScope {
    public:
        explicit RunScope(BomSource &source);
        ~RunScope();
        RunScope(const RunScope &) = delete;
        RunScope &operator=(const RunScope &) = delete;

    private:
        BomSource &source_;
        bool statementCache_;
        std::optional<ReadTransaction> transaction_;
    };
    // The start of a run: forgets what an earlier one kept and, cached, reads the structure and
    // the working date's prices in bulk. Throws DbError (the cached reads then fill themselves
    // row by row).
    void beginRun();
    // The end of a run: forgets what it kept (cycles told included).
    void endRun();

private:
    Database &db_;
    const CompanyParams &params_;
    Path path_;
    MessageLog log_;
    BomCycles cycles_;
    std::unique_ptr<BomReader> reader_;
    PriceLookup prices_;
    CostRollup rollup_;
};

} // namespace kem
