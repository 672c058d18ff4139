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

// Reads records from a stream in large blocks, or from a block of whole
// records in memory. The fields handed out point into the reader's buffer
// (the block's bytes, unquoted in place) and stay valid until the next call
// of Next.
class CsvReader {
public:
    explicit CsvReader(std::FILE *in) : in_(in) {}
    // The records of data[0, size), the first of them on line firstLine.
    CsvReader(char *data, size_t size, long firstLine)
        : buf_(data), end_(size), line_(firstLine), eof_(true) {}

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

private:
    bool Fill();  // moves the unread rest to the front and reads more; false at end
    // Moves past empty lines to the next record; false at the end.
    bool SkipEmptyLines();
    // Sets stop to the line break that ends the record at pos_ (end_ for
    // the last record without one) and newlines to the line breaks inside
    // quotes before it; false when it had to read more and must look again.
    bool FindRecordEnd(size_t &stop, long &newlines);
    // Splits [p, e) at its commas, unquoting in place.
    void SplitFields(char *p, char *e, std::vector<std::string_view> &fields);
    // The quoted field at p, unescaped in place; returns the position after
    // it (its comma or e).
    char *SplitQuotedField(char *p, char *e, std::vector<std::string_view> &fields);

    std::FILE *in_ = nullptr;
    std::vector<char> own_ = std::vector<char>(in_ != nullptr ? 1 << 20 : 0);
    char *buf_ = own_.data();
    size_t pos_ = 0, end_ = 0;
    long line_ = 1, recordLine_ = 0;
    bool eof_ = false, readFailed_ = false, malformed_ = false, crlf_ = false;
};

// Cuts a stream into blocks of whole records (about chunkSize bytes each,
// more for a longer record) for CsvReader to split, so that blocks can be
// split and checked apart from each other.
class CsvChunkReader {
public:
    CsvChunkReader(std::FILE *in, size_t chunkSize) : in_(in), chunkSize_(chunkSize) {}

    // Replaces chunk with the next block and tells the line its first byte
    // is on; false at the end of the input or on a read error.
    bool Next(std::vector<char> &chunk, long &firstLine);
    void SetChunkSize(size_t chunkSize) { chunkSize_ = chunkSize; }
    bool ReadFailed() const { return readFailed_; }

private:
    std::FILE *in_;
    size_t chunkSize_;
    std::vector<char> rest_;  // read past the last block's end
    long line_ = 1;
    bool eof_ = false, readFailed_ = false;
};

// Appends records to a string.
class CsvWriter {
public:
    explicit CsvWriter(std::string &out) : buf_(out) {}

    void Field(std::string_view text);  // quoted when it needs to be
    void EndRecord();
    void SetCrLf(bool crlf) { crlf_ = crlf; }

private:
    std::string &buf_;
    bool first_ = true, crlf_ = false;
};

}  // namespace cmnw::tool

#endif
