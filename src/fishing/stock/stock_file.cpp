// Strict reading of the stock file: whitespace-separated tokens, each parsed completely.
#include "fishing/stock/stock_file.h"
#include <cstring>
#include "common/number_token.h"
#include "common/printable_text.h"

namespace {

// Longest token kept; longer ones are cut (names) or rejected (numbers).
constexpr size_t MAX_TOKEN = 256;

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

class TokenReader {
public:
    explicit TokenReader(FILE* file) : file_(file) {}
    // The next token; false at the end of the file. `overlong` tells a token was cut.
    bool Next(std::string* token, bool* overlong) {
        token->clear();
        *overlong = false;
        int c;
        do {
            c = std::fgetc(file_);
        } while (c != EOF && IsSpace(c));
        if (c == EOF) return false;
        while (c != EOF && !IsSpace(c)) {
            if (token->size() < MAX_TOKEN) {
                token->push_back(static_cast<char>(c));
            } else {
                *overlong = true;
            }
            c = std::fgetc(file_);
        }
        return true;
    }

private:
    FILE* file_;
};

void CopyCut(const std::string& t, char* dest, size_t maxChars) {
    const size_t n = t.size() < maxChars ? t.size() : maxChars;
    std::memcpy(dest, t.data(), n);
    dest[n] = '\0';
}

class StockParser {
public:
    StockParser(FILE* file, std::string* error) : reader_(file), error_(error) {}

    bool Word(const std::string& what, char* dest, size_t maxChars) {
        std::string t;
        if (!Take(what, &t)) return false;
        CopyCut(t, dest, maxChars);
        return true;
    }
    bool Float(const std::string& what, float* dest) {
        std::string t;
        if (!Take(what, &t)) return false;
        if (overlong_ || !ParseFloatToken(t, dest)) return Malformed(what, t, "not a number");
        return true;
    }
    bool Int(const std::string& what, int32_t* dest) {
        std::string t;
        if (!Take(what, &t)) return false;
        if (overlong_ || !ParseIntToken(t, dest)) return Malformed(what, t, "not a whole number");
        return true;
    }
    bool Fail(const std::string& what) {
        *error_ = "the stock file data/data.qd is malformed: " + what + ".";
        return false;
    }

private:
    bool Take(const std::string& what, std::string* t) {
        if (reader_.Next(t, &overlong_)) return true;
        *error_ = "the stock file data/data.qd ends early: " + what + " is missing.";
        return false;
    }
    bool Malformed(const std::string& what, const std::string& t, const char* why) {
        return Fail(what + " is \"" + PrintableText(t, 40) + "\", " + why);
    }

    TokenReader reader_;
    std::string* error_;
    bool overlong_ = false;
};

}  // namespace

bool ReadStockFile(FILE* file, StockFileContents* out, std::string* error) {
    StockParser p(file, error);
    for (int32_t i = 0; i < FISH_COUNT; ++i) {
        StockRecord& r = out->fish[i];
        r = StockRecord{};
        const std::string of = " of fish " + std::to_string(i + 1);
        if (!p.Word("the name" + of, r.name, STOCK_NAME_LENGTH) ||
            !p.Word("the tag number" + of, r.tagNumber, STOCK_TAG_LENGTH) ||
            !p.Float("the stocking weight" + of, &r.stockingWeight) ||
            !p.Float("the recent weight" + of, &r.recentWeight) ||
            !p.Int("the kind" + of, &r.kind) ||
            !p.Float("the shape factor" + of, &r.shapeFactor)) {
            return false;
        }
        if (r.kind < 1 || r.kind > 32) {
            return p.Fail("the kind" + of + " is " + std::to_string(r.kind) + ", outside 1..32");
        }
        if (r.shapeFactor < 0) r.shapeFactor = 0;
        if (r.shapeFactor > 50) r.shapeFactor = 50;
    }
    for (int32_t i = 0; i < SWIM_COUNT; ++i) {
        SwimRecord& s = out->swims[i];
        const std::string of = " of swim " + std::to_string(i + 1);
        if (!p.Float("the x" + of, &s.x) || !p.Float("the z" + of, &s.z) ||
            !p.Float("the facing" + of, &s.facing)) {
            return false;
        }
    }
    return true;
}
