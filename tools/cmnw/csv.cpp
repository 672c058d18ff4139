// CSV reading and writing.
#include "csv.h"

#include <algorithm>
#include <cstring>

namespace cmnw::tool {

bool CsvReader::Fill() {
    if (eof_) return false;
    if (pos_ > 0) {
        std::memmove(own_.data(), own_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == own_.size()) own_.resize(own_.size() * 2);
    buf_ = own_.data();
    size_t got = std::fread(buf_ + end_, 1, own_.size() - end_, in_);
    if (got == 0) {
        eof_ = true;
        if (std::ferror(in_)) readFailed_ = true;
        return false;
    }
    end_ += got;
    return true;
}

bool CsvReader::SkipEmptyLines() {
    for (;;) {
        if (pos_ == end_ && !Fill()) return false;
        if (buf_[pos_] == '\n') {
            ++pos_;
        } else if (buf_[pos_] == '\r' && pos_ + 1 < end_ && buf_[pos_ + 1] == '\n') {
            pos_ += 2;
        } else {
            return true;
        }
        ++line_;
    }
}

bool CsvReader::FindRecordEnd(size_t &stop, long &newlines) {
    newlines = 0;
    // Most records hold no quote: the first line break ends them.
    if (const void *nl = std::memchr(buf_ + pos_, '\n', end_ - pos_)) {
        const size_t at = static_cast<size_t>(static_cast<const char *>(nl) - buf_);
        if (std::memchr(buf_ + pos_, '"', at - pos_) == nullptr) {
            stop = at;
            return true;
        }
    }
    bool quoted = false;
    for (size_t i = pos_; i < end_; ++i) {
        const char c = buf_[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\n') {
            if (!quoted) {
                stop = i;
                return true;
            }
            ++newlines;
        }
    }
    if (Fill()) return false;
    stop = end_;  // the last record has no line break
    return true;
}

char *CsvReader::SplitQuotedField(char *p, char *e, std::vector<std::string_view> &fields) {
    // Unescape in place; the text only gets shorter.
    char *out = ++p, *start = p;
    bool closed = false;
    while (p < e) {
        if (*p == '"') {
            if (p + 1 < e && p[1] == '"') {
                *out++ = '"';
                p += 2;
                continue;
            }
            ++p;
            closed = true;
            break;
        }
        *out++ = *p++;
    }
    if (!closed) {
        malformed_ = true;
        if (out > start && out[-1] == '\r') --out;  // CR of a cut CRLF
    }
    while (p < e && *p != ',') {  // text after the closing quote
        malformed_ = true;
        *out++ = *p++;
    }
    fields.emplace_back(start, static_cast<size_t>(out - start));
    return p;
}

void CsvReader::SplitFields(char *p, char *e, std::vector<std::string_view> &fields) {
    for (;;) {
        if (p < e && *p == '"') {
            p = SplitQuotedField(p, e, fields);
        } else {
            char *start = p;
            const void *comma = std::memchr(p, ',', static_cast<size_t>(e - p));
            p = comma != nullptr ? static_cast<char *>(const_cast<void *>(comma)) : e;
            if (std::memchr(start, '"', static_cast<size_t>(p - start)) != nullptr) malformed_ = true;
            fields.emplace_back(start, static_cast<size_t>(p - start));
        }
        if (p >= e) break;
        ++p;  // the comma
    }
}

bool CsvReader::Next(std::vector<std::string_view> &fields) {
    fields.clear();
    malformed_ = false;
    crlf_ = false;
    // Find the end of the record first, so that a refill never moves text
    // that has already been split.
    size_t stop = 0;
    long newlines = 0;
    do {
        if (!SkipEmptyLines()) return false;
    } while (!FindRecordEnd(stop, newlines));
    recordLine_ = line_;
    line_ += newlines + 1;
    const size_t next = stop < end_ ? stop + 1 : stop;
    if (stop > pos_ && buf_[stop - 1] == '\r' && stop < end_) {
        crlf_ = true;
        --stop;
    }
    SplitFields(buf_ + pos_, buf_ + stop, fields);
    pos_ = next;
    return true;
}

void CsvWriter::Field(std::string_view text) {
    if (!first_) buf_ += ',';
    first_ = false;
    bool plain = true;
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            plain = false;
            break;
        }
    if (plain) {
        buf_.append(text);
        return;
    }
    buf_ += '"';
    for (char c : text) {
        if (c == '"') buf_ += '"';
        buf_ += c;
    }
    buf_ += '"';
}

void CsvWriter::EndRecord() {
    buf_.append(crlf_ ? "\r\n" : "\n");
    first_ = true;
}

namespace {

size_t CountByte(const char *p, size_t n, char c) {
    size_t count = 0;
    for (const char *e = p + n; (p = static_cast<const char *>(std::memchr(p, c, e - p))); ++p)
        ++count;
    return count;
}

// The end of the last whole record in data: just past the last line break
// with an even number of quotes before it (records begin outside quotes,
// and a record holds an even number of quotes where it ends). 0 when there
// is none.
size_t LastRecordEnd(const char *data, size_t n) {
    size_t quotes = CountByte(data, n, '"');
    for (size_t end = n; end > 0;) {
        const void *nl = memrchr(data, '\n', end);
        if (nl == nullptr) return 0;
        const size_t at = static_cast<size_t>(static_cast<const char *>(nl) - data);
        quotes -= CountByte(data + at, end - at, '"');
        if (quotes % 2 == 0) return at + 1;
        end = at;
    }
    return 0;
}

}  // namespace

bool CsvChunkReader::Next(std::vector<char> &chunk, long &firstLine) {
    chunk.swap(rest_);
    rest_.clear();
    for (;;) {
        if (!eof_) {
            const size_t had = chunk.size();
            chunk.resize(had + chunkSize_);
            const size_t got = std::fread(chunk.data() + had, 1, chunkSize_, in_);
            chunk.resize(had + got);
            if (got < chunkSize_) {
                eof_ = true;
                readFailed_ = std::ferror(in_) != 0;
            }
        }
        if (chunk.empty()) return false;
        const size_t cut = eof_ ? chunk.size() : LastRecordEnd(chunk.data(), chunk.size());
        if (cut == 0) continue;  // a record longer than what was read: read more
        rest_.assign(chunk.begin() + static_cast<std::ptrdiff_t>(cut), chunk.end());
        chunk.resize(cut);
        firstLine = line_;
        line_ += static_cast<long>(std::count(chunk.begin(), chunk.end(), '\n'));
        return true;
    }
}

}  // namespace cmnw::tool
