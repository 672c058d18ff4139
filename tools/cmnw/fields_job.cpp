// The fields job: every record of a CSV stream checked and rewritten. The
// stream is cut into blocks of whole records; each block is split, checked
// and rewritten on its own (on worker threads when there are several) into
// its own output and report, and those are written in input order, so the
// result does not depend on the number of threads.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "csv.h"
#include "fields.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

// A progress line on a terminal, redrawn at most twice a second once the
// job has run for a second.
class Progress {
public:
    explicit Progress(std::FILE *out, bool on) : out_(out), on_(on) {}
    ~Progress() {
        if (shown_) std::fputs("\r\033[K", out_);
    }
    void Update(long records, long invalid) {
        if (!on_) return;
        const auto now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(500))
            return;
        last_ = now;
        shown_ = true;
        std::fprintf(out_, "\rcmnw fields: %ld records, %ld invalid values", records, invalid);
        std::fflush(out_);
    }

private:
    using Clock = std::chrono::steady_clock;
    std::FILE *out_;
    bool on_, shown_ = false;
    Clock::time_point start_ = Clock::now(), last_{};
};

// One block of records and what became of it.
struct Block {
    std::vector<char> data;
    long firstLine = 1;
    std::string out, report;
    long records = 0, invalid = 0;
    bool done = false;
};

// Splits, checks and rewrites blocks; one per thread.
class BlockChecker {
public:
    BlockChecker(const std::vector<FieldDef> &defs, const FieldsJobOptions &options)
        : defs_(defs), options_(options), checker_(options.latin1) {}

    // first: the block may hold the job's first record, which decides the
    // line ends of the output (and is the header when there is one); set
    // to false once that record has been seen.
    void Run(Block &b, bool &crlf, bool *first);

private:
    void Report(Block &b, long line, size_t column, const FieldDef *def, std::string_view value,
                std::string_view message);

    std::string_view Utf8(std::string_view latin) {
        utf8_.clear();
        LatinToUtf8(latin, utf8_);
        return utf8_;
    }

    const std::vector<FieldDef> &defs_;
    const FieldsJobOptions &options_;
    FieldChecker checker_;
    std::vector<std::string_view> fields_;
    std::string value_, message_, utf8_;
};

void BlockChecker::Report(Block &b, long line, size_t column, const FieldDef *def,
                          std::string_view value, std::string_view message) {
    ++b.invalid;
    std::string &r = b.report;
    char where[48];
    if (!options_.json) {
        std::snprintf(where, sizeof where, "%ld:%zu: ", line, column);
        r += where;
        if (def != nullptr) r.append("field ").append(def->name).append(": ");
        r.append(message).append("\n");
        return;
    }
    std::snprintf(where, sizeof where, "{\"line\":%ld,\"column\":%zu,\"field\":", line, column);
    r += where;
    if (def == nullptr) {
        r += "null";
    } else {
        AppendJsonString(r, def->name);
        r += ",\"value\":";
        AppendJsonString(r, options_.latin1 ? Utf8(value) : value);
    }
    // Messages quote ISO 8859-1 values as they are.
    r += ",\"message\":";
    AppendJsonString(r, options_.latin1 && !IsUtf8(message) ? Utf8(message) : message);
    r += "}\n";
}

void BlockChecker::Run(Block &b, bool &crlf, bool *first) {
    b.out.clear();
    b.report.clear();
    b.records = b.invalid = 0;
    CsvReader reader(b.data.data(), b.data.size(), b.firstLine);
    CsvWriter writer(b.out);
    writer.SetCrLf(crlf);
    while (reader.Next(fields_)) {
        if (first != nullptr && *first) {
            *first = false;
            crlf = reader.EndedWithCrLf();
            writer.SetCrLf(crlf);
            if (options_.header) {
                for (std::string_view f : fields_) writer.Field(f);
                writer.EndRecord();
                continue;
            }
        }
        ++b.records;
        if (reader.Malformed())
            Report(b, reader.Line(), 1, nullptr, {}, "misplaced or unclosed quote in the record");
        if (fields_.size() != defs_.size()) {
            message_ = std::to_string(fields_.size()) + " fields in the record, expected " +
                       std::to_string(defs_.size());
            Report(b, reader.Line(), std::min(fields_.size(), defs_.size()) + 1, nullptr, {},
                   message_);
            for (std::string_view f : fields_) writer.Field(f);
            writer.EndRecord();
            continue;
        }
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (!checker_.Check(defs_[i], fields_[i], value_, message_))
                Report(b, reader.Line(), i + 1, &defs_[i], fields_[i], message_);
            writer.Field(value_);
        }
        writer.EndRecord();
    }
}

// Worker threads taking blocks in the order they were queued.
class BlockPool {
public:
    BlockPool(int threads, const std::vector<FieldDef> &defs, const FieldsJobOptions &options,
              bool crlf)
        : crlf_(crlf) {
        for (int i = 0; i < threads; ++i)
            threads_.emplace_back([this, &defs, &options] { Work(defs, options); });
    }
    ~BlockPool() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        queued_.notify_all();
        for (std::thread &t : threads_) t.join();
    }
    void Queue(Block *b) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            b->done = false;
            todo_.push_back(b);
        }
        queued_.notify_one();
    }
    void Wait(Block *b) {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [b] { return b->done; });
    }

private:
    void Work(const std::vector<FieldDef> &defs, const FieldsJobOptions &options) {
        BlockChecker checker(defs, options);
        bool crlf = crlf_;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            queued_.wait(lock, [this] { return stop_ || !todo_.empty(); });
            if (todo_.empty()) return;
            Block *b = todo_.front();
            todo_.pop_front();
            lock.unlock();
            checker.Run(*b, crlf, nullptr);
            lock.lock();
            b->done = true;
            finished_.notify_all();
        }
    }

    const bool crlf_;
    std::mutex mutex_;
    std::condition_variable queued_, finished_;
    std::deque<Block *> todo_;
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace

FieldsJobResult RunFieldsJob(const std::vector<FieldDef> &defs, std::FILE *in, std::FILE *out,
                             std::FILE *errors, const FieldsJobOptions &options) {
    FieldsJobResult result;
    // A small first block, so that the threads start soon; the first record
    // is read before they do.
    CsvChunkReader reader(in, options.blockSize > 0 ? options.blockSize : 1 << 16);
    BlockChecker checker(defs, options);
    Progress progress(stderr, options.progress && isatty(fileno(stderr)) != 0);
    std::unique_ptr<BlockPool> pool;
    std::deque<std::unique_ptr<Block>> running, spare;
    bool crlf = false, first = true;

    auto emit = [&](Block &b) {
        if (std::fwrite(b.out.data(), 1, b.out.size(), out) != b.out.size()) result.writeFailed = true;
        if (std::fwrite(b.report.data(), 1, b.report.size(), errors) != b.report.size())
            result.writeFailed = true;
        result.records += b.records;
        result.invalid += b.invalid;
        progress.Update(result.records, result.invalid);
    };
    for (;;) {
        std::unique_ptr<Block> b;
        if (!spare.empty()) {
            b = std::move(spare.front());
            spare.pop_front();
        } else {
            b = std::make_unique<Block>();
        }
        if (!reader.Next(b->data, b->firstLine)) break;
        if (first || options.jobs <= 1) {
            checker.Run(*b, crlf, &first);
            emit(*b);
            spare.push_back(std::move(b));
            if (!first && options.blockSize == 0) reader.SetChunkSize(1 << 20);
            continue;
        }
        if (pool == nullptr) pool = std::make_unique<BlockPool>(options.jobs, defs, options, crlf);
        pool->Queue(b.get());
        running.push_back(std::move(b));
        // Enough blocks ahead to keep every thread busy while the oldest
        // is written.
        while (running.size() >= static_cast<size_t>(options.jobs) * 2) {
            pool->Wait(running.front().get());
            emit(*running.front());
            spare.push_back(std::move(running.front()));
            running.pop_front();
        }
    }
    for (std::unique_ptr<Block> &b : running) {
        pool->Wait(b.get());
        emit(*b);
    }
    result.readFailed = reader.ReadFailed();
    if (std::fflush(out) != 0 || std::fflush(errors) != 0) result.writeFailed = true;
    return result;
}

}  // namespace cmnw::tool
