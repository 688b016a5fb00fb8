// Appended files read line by line in the encoding each line was written
// in, and skier names made safe for the clip's file name.

#include "app/TextLines.h"

#include "app/FileUtils.h"
#include "app/Startup.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(TextLines, EachLineInTheEncodingItWasWrittenIn) {
    const QString zoe = QStringLiteral("Skier: Zo\u00eb Smith");
    const QString lukasz = QStringLiteral("Skier: \u0141ukasz Nowak");
    const QString muller = QStringLiteral("Skier: M\u00fcller");
    // As appended: Latin-1 where it fits, UTF-8 otherwise.
    const QByteArray bytes = fileBytes(zoe + QStringLiteral("\r\n")) +
                             fileBytes(lukasz + QStringLiteral("\r\n")) +
                             fileBytes(muller + QStringLiteral("\r\n"));
    ASSERT_EQ(bytes.count("\xc5\x81"), 1); // the Polish line is UTF-8, the others Latin-1
    EXPECT_EQ(textOfAppendedFile(bytes), zoe + QStringLiteral("\r\n") + lukasz +
                                             QStringLiteral("\r\n") + muller +
                                             QStringLiteral("\r\n"));
    // A last line without its end, an empty file, a file of one UTF-8 line.
    EXPECT_EQ(textOfAppendedFile(fileBytes(zoe)), zoe);
    EXPECT_EQ(textOfAppendedFile(QByteArray()), QString());
    EXPECT_EQ(textOfAppendedFile(lukasz.toUtf8()), lukasz);
}

TEST(SkierNames, NothingThatNamesAPathOrIsRefusedStays) {
    EXPECT_EQ(safeSkierName(QStringLiteral("../escape")), QStringLiteral("   escape"));
    EXPECT_EQ(safeSkierName(QStringLiteral("a/b")), QStringLiteral("a b"));
    EXPECT_EQ(safeSkierName(QStringLiteral("a\\b")), QStringLiteral("a b"));
    EXPECT_EQ(safeSkierName(QStringLiteral("Smith, John")), QStringLiteral("Smith  John"));
    EXPECT_EQ(safeSkierName(QStringLiteral("x<>:\"|?*y")), QStringLiteral("x       y"));
    EXPECT_EQ(safeSkierName(QStringLiteral("tab\there\nnul") + QChar(0) + QChar(0x7f)),
              QStringLiteral("tab here nul  "));
    EXPECT_EQ(safeSkierName(QStringLiteral("...")), QStringLiteral("  ."));
    // What stays: dots alone, accents, spaces, apostrophes and hyphens.
    const QString fine = QStringLiteral("J. O'Brien-Zo\u00eb \u0141ukasz");
    EXPECT_EQ(safeSkierName(fine), fine);
    EXPECT_FALSE(hasUnsafeNameCharacter(fine));
    EXPECT_FALSE(hasUnsafeNameCharacter(QStringLiteral("a,b"))); // the comma is told apart
    EXPECT_TRUE(hasUnsafeNameCharacter(QStringLiteral("a..b")));
}
