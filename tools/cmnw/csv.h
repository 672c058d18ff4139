// CSV (RFC 4180) reading and writing for the cmnw tool: comma-separated
// fields, double quotes around fields holding commas, quotes or line breaks,
// a doubled quote for a quote inside them, CRLF or LF between records.
#ifndef CMNW_TOOL_CSV_H
#define CMNW_TOOL_CSV_H

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cmnw::tool {

// Reads records from a stream in large blocks. The fields handed out point
// into the reader's buffer and stay valid until the next call of Next.
class CsvReader {
public:
    explicit CsvReader(std::FILE *in) : in_(in) {}

    // The next record's fields; false at the end of the input or on a read
    // error (see ReadFailed). An unterminated quoted field at the end of the
    // input ends the record there and sets Malformed for it.
    bool Next(std::vector<std::string_view> &fields);

    // Line on which the last record began (1-based).
    long Line() const { return recordLine_; }
    // The last record held a quote where none may stand (a quote inside an
    // unquoted field, text after a closing quote, or no closing quote).
    bool Malformed() const { return malformed_; }
    // The last record ended with CR LF.
    bool EndedWithCrLf() const { return crlf_; }
    bool ReadFailed() const { return readFailed_; }
    // Bytes consumed so far.
    long long Offset() const { return consumed_ + static_cast<long long>(pos_); }

private:
    bool Fill();  // moves the unread rest to the front and reads more; false at end

    std::FILE *in_;
    std::vector<char> buf_ = std::vector<char>(1 << 20);
    size_t pos_ = 0, end_ = 0;
    long long consumed_ = 0;
    long line_ = 1, recordLine_ = 0;
    bool eof_ = false, readFailed_ = false, malformed_ = false, crlf_ = false;
};

// Collects records in memory and writes them out in large blocks.
class CsvWriter {
public:
    explicit CsvWriter(std::FILE *out) : out_(out) {}
    ~CsvWriter() { Flush(); }

    void Field(std::string_view text);  // quoted when it needs to be
    void EndRecord();
    void SetCrLf(bool crlf) { crlf_ = crlf; }
    // Writes out what was collected; false when the stream reported an error.
    bool Flush();

private:
    std::FILE *out_;
    std::string buf_;
    bool first_ = true, crlf_ = false, failed_ = false;
};

}  // namespace cmnw::tool

#endif
