#include "logs/RtfReader.h"

#include "logs/SkierNames.h"
#include "support/TestEnv.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zt;

namespace {

QString plain(const char* rtf) {
    return RtfReader::toPlainText(QByteArray(rtf));
}

struct Run {
    QString text;
    RtfCharFormat format;
};

class RecordingSink : public RtfSink {
public:
    void text(const QString& t, const RtfCharFormat& f) override { runs.append({t, f}); }
    void paragraphEnd() override { runs.append({QStringLiteral("<P>"), {}}); }
    void lineBreak() override { runs.append({QStringLiteral("<BR>"), {}}); }
    QList<Run> runs;
};

} // namespace

TEST(RtfReader, TablesAndInformationAreSkipped) {
    EXPECT_EQ(plain("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Times;}}"
                    "{\\colortbl ;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                    "{\\info{\\title Names}{\\author Someone}}"
                    "{\\*\\generator Riched20 10.0;}\\viewkind4\\uc1\\pard\\f0\\fs20 "
                    "Smith,John,USA\\par\r\nBrown\\line X\\tab Y\\par\r\n}"),
              QStringLiteral("Smith,John,USA\nBrown\nX\tY\n"));
    // Unknown "\*" destinations, pictures with binary data, field instructions.
    EXPECT_EQ(plain("{\\rtf1 a{\\*\\unknowndest hidden {nested}}b{\\pict\\bin4 {}\\x}c"
                    "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt Link}}}"),
              QStringLiteral("abcLink"));
}

TEST(RtfReader, CharactersAndEscapes) {
    EXPECT_EQ(plain("{\\rtf1 M\\'fcller \\'80 \\'92}"),
              QStringLiteral("M\u00fcller \u20ac \u2019"));
    EXPECT_EQ(plain("{\\rtf1 \\\\ \\{ \\} a\\~b c\\-d e\\_f}"),
              QStringLiteral("\\ { } a\u00a0b cd e-f"));
    // \uN with its fallback character skipped, \ucN, negative values.
    EXPECT_EQ(plain("{\\rtf1 \\u8364?x {\\uc2\\u937\\'3f\\'3f}y \\u-3913?z}"),
              QStringLiteral("\u20acx \u03a9y \uf0b7z"));
    // The fallback count is restored when its group ends.
    EXPECT_EQ(plain("{\\rtf1 {\\uc0 \\u937}\\u937?}"), QStringLiteral("\u03a9\u03a9"));
    EXPECT_EQ(plain("{\\rtf1 \\emdash\\bullet\\ldblquote q\\rdblquote}"),
              QStringLiteral("\u2014\u2022\u201cq\u201d"));
    // Raw line ends are not text; a backslash before one is a paragraph.
    EXPECT_EQ(plain("{\\rtf1 ab\r\ncd\\\r\nef}"), QStringLiteral("abcd\nef"));
    // A control word's delimiting space is not text, a second one is.
    EXPECT_EQ(plain("{\\rtf1\\b  x\\b0 y}"), QStringLiteral(" xy"));
}

TEST(RtfReader, DamagedDocumentsKeepTheirText) {
    EXPECT_EQ(plain("{\\rtf1 abc"), QStringLiteral("abc"));
    EXPECT_EQ(plain("{\\rtf1 abc}}}def"), QStringLiteral("abcdef"));
    EXPECT_EQ(plain("{\\rtf1 abc\\"), QStringLiteral("abc"));
    EXPECT_EQ(plain("{\\rtf1 abc\\'4"), QStringLiteral("abc"));
    EXPECT_EQ(plain("{\\rtf1 x\\bin999999 y}"), QStringLiteral("x"));
    EXPECT_EQ(plain(""), QString());
}

TEST(RtfReader, FormatsFollowGroups) {
    RecordingSink sink;
    RtfReader::read("{\\rtf1 a{\\b b\\i c}d\\ul e\\ulnone f\\fs32 g\\plain h\\par}", sink);
    ASSERT_EQ(sink.runs.size(), 9);
    EXPECT_EQ(sink.runs[0].text, QStringLiteral("a"));
    EXPECT_FALSE(sink.runs[0].format.bold);
    EXPECT_TRUE(sink.runs[1].format.bold);
    EXPECT_FALSE(sink.runs[1].format.italic);
    EXPECT_TRUE(sink.runs[2].format.bold && sink.runs[2].format.italic);
    EXPECT_EQ(sink.runs[3].text, QStringLiteral("d"));
    EXPECT_FALSE(sink.runs[3].format.bold || sink.runs[3].format.italic);
    EXPECT_TRUE(sink.runs[4].format.underline);
    EXPECT_FALSE(sink.runs[5].format.underline);
    EXPECT_EQ(sink.runs[6].format.fontSizeHalfPoints, 32);
    EXPECT_EQ(sink.runs[7].format, RtfCharFormat());
    EXPECT_EQ(sink.runs[8].text, QStringLiteral("<P>"));
}

TEST(RtfReader, RecognisesRichText) {
    EXPECT_TRUE(RtfReader::isRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(RtfReader::isRtf("\xEF\xBB\xBF \r\n{\\rtf1}"));
    EXPECT_FALSE(RtfReader::isRtf("Smith,{\\rtf1}"));
    EXPECT_FALSE(RtfReader::isRtf(""));
}

TEST(SkierNames, ImportConvertsToPlainTextWithCrLf) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("SkierNames.txt"));
    const QString source = dir.filePath(QStringLiteral("in.txt"));
    test::writeAll(source, "Smith,John,USA\rOld\nLee\r\n");
    SkierImportResult r = importSkierNames(source, target);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.firstName, QStringLiteral("Smith John USA"));
    EXPECT_EQ(test::readAll(target), "Smith,John,USA\r\nOld\r\nLee\r\n");

    // Importing the names file onto itself keeps it whole.
    r = importSkierNames(target, target);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(test::readAll(target), "Smith,John,USA\r\nOld\r\nLee\r\n");

    test::writeAll(source, "");
    r = importSkierNames(source, target);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.firstName, QString());

    r = importSkierNames(dir.filePath(QStringLiteral("missing.rtf")), target);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("missing.rtf")));
}
