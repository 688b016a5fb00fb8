#include "logs/RtfReader.h"

#include <QList>
#include <QSet>

namespace zt {

namespace {

// Windows-1252 characters 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar charOfCodePage(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F)
        return QChar(cp1252High[c - 0x80]);
    return QChar(c);
}

const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> names = {"fonttbl",
                                           "colortbl",
                                           "stylesheet",
                                           "info",
                                           "pict",
                                           "header",
                                           "headerl",
                                           "headerr",
                                           "headerf",
                                           "footer",
                                           "footerl",
                                           "footerr",
                                           "footerf",
                                           "fldinst",
                                           "object",
                                           "listtable",
                                           "listoverridetable",
                                           "rsidtbl",
                                           "generator",
                                           "xmlnsdecl",
                                           "themedata",
                                           "colorschememapping",
                                           "latentstyles",
                                           "datastore",
                                           "filetbl",
                                           "revtbl",
                                           "footnote",
                                           "bkmkstart",
                                           "bkmkend",
                                           "nonshppict",
                                           "template",
                                           "private",
                                           "objdata",
                                           "pgdsctbl"};
    return names;
}

struct GroupState {
    RtfCharFormat format;
    RtfParagraphFormat paragraph;
    bool skip = false;
    int unicodeSkip = 1; // characters that follow \uN as its fallback
};

class Parser {
public:
    Parser(const QByteArray& rtf, RtfSink& sink) : in_(rtf), sink_(sink) {}

    bool tooDeep() const { return tooDeep_; }

    void run() {
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                controlSequence();
                break;
            case '\r':
            case '\n':
                break;
            default:
                character(QChar(static_cast<unsigned char>(c)));
                break;
            }
        }
        flush();
    }

private:
    void openGroup() {
        flush();
        // Real documents nest a few dozen groups; a file of braces alone
        // would keep one state each and use all memory.
        if (stack_.size() >= RtfReader::maxNesting) {
            tooDeep_ = true;
            pos_ = in_.size();
            return;
        }
        stack_.append(state_);
        groupStartsHere_ = true;
    }

    void closeGroup() {
        flush();
        if (!stack_.isEmpty())
            state_ = stack_.takeLast();
        pendingFallback_ = 0;
        groupStartsHere_ = false;
    }

    // A plain character of the document (or of a skipped destination).
    void character(QChar ch) {
        groupStartsHere_ = false;
        if (pendingFallback_ > 0) {
            --pendingFallback_;
            return;
        }
        if (!state_.skip)
            run_ += ch;
    }

    void controlSequence() {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        const bool startsGroup = groupStartsHere_;
        groupStartsHere_ = false;
        switch (c) {
        case '\'':
            hexCharacter();
            break;
        case '*':
            if (startsGroup)
                state_.skip = true;
            break;
        case '~':
            character(QChar(0x00A0));
            break;
        case '_':
            character(QLatin1Char('-'));
            break;
        case '-':
            break; // optional hyphen
        case '\r':
        case '\n':
            paragraph();
            break;
        default:
            character(QLatin1Char(c));
            break; // \\ \{ \} and others
        }
    }

    void hexCharacter() {
        if (pos_ + 2 > in_.size()) {
            pos_ = in_.size();
            return;
        }
        bool ok = false;
        const int value = in_.mid(pos_, 2).toInt(&ok, 16);
        pos_ += 2;
        if (ok)
            character(charOfCodePage(static_cast<unsigned char>(value)));
    }

    void controlWord() {
        const qsizetype start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            ++pos_;
        const QByteArray word = in_.mid(start, pos_ - start);
        bool hasParam = false;
        int param = 0;
        const qsizetype numStart = pos_;
        if (pos_ < in_.size() && (in_[pos_] == '-' || isDigit(in_[pos_]))) {
            ++pos_;
            while (pos_ < in_.size() && isDigit(in_[pos_]))
                ++pos_;
            bool ok = false;
            param = in_.mid(numStart, pos_ - numStart).toInt(&ok);
            hasParam = ok;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        const bool startsGroup = groupStartsHere_;
        groupStartsHere_ = false;
        apply(word, hasParam, param, startsGroup);
    }

    void apply(const QByteArray& word, bool hasParam, int param, bool startsGroup) {
        if (word == "bin") {
            pos_ += qMax(0, param); // binary data of a picture or object
            return;
        }
        if (startsGroup && skippedDestinations().contains(word)) {
            state_.skip = true;
            return;
        }
        if (state_.skip)
            return;
        if (word == "u") {
            character(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param)));
            pendingFallback_ = state_.unicodeSkip;
            return;
        }
        pendingFallback_ = 0;
        if (word == "par" || word == "sect" || word == "page" || word == "row")
            paragraph();
        else if (word == "line")
            lineBreak();
        else if (word == "tab" || word == "cell")
            character(QLatin1Char('\t'));
        else if (word == "uc")
            state_.unicodeSkip = qMax(0, param);
        else if (!specialCharacter(word) && !paragraphWord(word, param))
            formatWord(word, hasParam, param);
    }

    bool paragraphWord(const QByteArray& word, int param) {
        RtfParagraphFormat& p = state_.paragraph;
        if (word == "pard")
            p = RtfParagraphFormat();
        else if (word == "li")
            p.leftIndent = param;
        else if (word == "fi")
            p.firstLineIndent = param;
        else if (word == "sb")
            p.spaceBefore = param;
        else if (word == "sa")
            p.spaceAfter = param;
        else if (word == "qc")
            p.centered = true;
        else if (word == "ql" || word == "qj")
            p.centered = false;
        else
            return false;
        return true;
    }

    bool specialCharacter(const QByteArray& word) {
        static const QList<QPair<QByteArray, char16_t>> table = {
            {"emdash", 0x2014},  {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
            {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
            {"enspace", 0x2002}, {"qmspace", 0x2005}};
        for (const auto& [name, ch] : table) {
            if (word == name) {
                character(QChar(ch));
                return true;
            }
        }
        return false;
    }

    void formatWord(const QByteArray& word, bool hasParam, int param) {
        const bool on = !hasParam || param != 0;
        RtfCharFormat f = state_.format;
        if (word == "b")
            f.bold = on;
        else if (word == "i")
            f.italic = on;
        else if (word == "ul")
            f.underline = on;
        else if (word == "ulnone")
            f.underline = false;
        else if (word == "fs" && hasParam && param > 0)
            f.fontSizeHalfPoints = param;
        else if (word == "plain")
            f = RtfCharFormat();
        if (!(f == state_.format)) {
            flush();
            state_.format = f;
        }
    }

    void paragraph() {
        if (state_.skip)
            return;
        flush();
        startParagraph();
        sink_.paragraphEnd();
        paragraphStarted_ = false;
    }

    void startParagraph() {
        if (paragraphStarted_)
            return;
        paragraphStarted_ = true;
        sink_.paragraphFormat(state_.paragraph);
    }

    void lineBreak() {
        flush();
        startParagraph();
        sink_.lineBreak();
    }

    void flush() {
        if (run_.isEmpty())
            return;
        startParagraph();
        sink_.text(run_, state_.format);
        run_.clear();
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const QByteArray& in_;
    RtfSink& sink_;
    qsizetype pos_ = 0;
    GroupState state_;
    QList<GroupState> stack_;
    QString run_;
    int pendingFallback_ = 0;
    bool groupStartsHere_ = false;
    bool tooDeep_ = false;
    bool paragraphStarted_ = false;
};

class PlainTextSink : public RtfSink {
public:
    void text(const QString& t, const RtfCharFormat&) override { out += t; }
    void paragraphEnd() override { out += QLatin1Char('\n'); }
    void lineBreak() override { out += QLatin1Char('\n'); }
    QString out;
};

} // namespace

bool RtfReader::read(const QByteArray& rtf, RtfSink& sink) {
    Parser parser(rtf, sink);
    parser.run();
    return !parser.tooDeep();
}

bool RtfReader::isRtf(const QByteArray& bytes) {
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\r' || bytes[i] == '\n' || bytes[i] == '\t'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

QString RtfReader::toPlainText(const QByteArray& rtf, bool* complete) {
    PlainTextSink sink;
    const bool whole = read(rtf, sink);
    if (complete)
        *complete = whole;
    return sink.out;
}

} // namespace zt
