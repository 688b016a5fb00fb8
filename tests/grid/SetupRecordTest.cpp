// The set-up record in the results file, in its three variants.

#include "grid/SetupRecord.h"

#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

using namespace zt;

namespace {

SetupRecordInput sampleInput() {
    SetupRecordInput in;
    in.when = QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9));
    in.fileNameText = QStringLiteral("C:\\grids\\north.ipt");
    in.descriptionText = QStringLiteral("North camera, dock side");
    in.gridNumber = 2;
    const char* texts[5][4] = {{"", "", "", ""},
                               {"9000", "2500", "60", "15"},
                               {"10500", "6000", "60", "0"},
                               {"3000", "2400", "30", "15.5"},
                               {"1500", "5800", "30", "-0.25"}};
    for (size_t i = 1; i <= 4; ++i) {
        in.screenXText[i] = QString::fromLatin1(texts[i][0]);
        in.screenYText[i] = QString::fromLatin1(texts[i][1]);
        in.surveyXText[i] = QString::fromLatin1(texts[i][2]);
        in.surveyYText[i] = QString::fromLatin1(texts[i][3]);
    }
    in.jumpXText = QStringLiteral("10.25");
    in.jumpYText = QStringLiteral("7.5");
    in.checkPixX = 6120, in.checkPixY = 4230, in.checkSurveyX = 45.5, in.checkSurveyY = 0.5;
    in.checkScreenXText = QStringLiteral("6120");
    in.checkScreenYText = QStringLiteral("4230");
    in.checkSurveyXText = QStringLiteral("45.5");
    in.checkSurveyYText = QStringLiteral("auto");
    return in;
}

QString body(const QString& unit) {
    return QStringLiteral("12-08-2026 13:05:09 New Set-up now in place\r\n"
                          "C:\\grids\\north.ipt\r\n"
                          "North camera, dock side\r\n"
                          "Grid Number:  2 \r\n"
                          " \r\n"
                          "Upper Left X,Y %1: 3000  2400\r\n"
                          "Upper Left X,Y Survey: 30  15.5\r\n"
                          " \r\n"
                          "Lower Left X,Y %1: 1500  5800\r\n"
                          "Lower Left X,Y Survey: 30  -0.25\r\n"
                          " \r\n"
                          "Upper Right X,Y %1: 9000  2500\r\n"
                          "Upper Right X,Y Survey: 60  15\r\n"
                          " \r\n"
                          "Lower Right X,Y %1: 10500  6000\r\n"
                          "Lower Right X,Y Survey: 60  0\r\n"
                          " \r\n"
                          "Jump X,Y Survey: 10.25  7.5\r\n"
                          " \r\n")
        .arg(unit);
}

} // namespace

TEST(SetupRecord, ThreeVariantsByteExact) {
    const SetupRecordInput in = sampleInput();
    EXPECT_EQ(setupRecordText(SetupRecordKind::AfterComplete, in),
              body(QStringLiteral("Pixels")) +
                  QStringLiteral("Check Buoy X,Y Pixels:  6120    4230 \r\n"
                                 "Check Buoy X,Y Survey:  45.5    .5 \r\n \r\n"));
    EXPECT_EQ(setupRecordText(SetupRecordKind::AfterLoad, in),
              body(QStringLiteral("Twips")) +
                  QStringLiteral("Check Buoy X,Y Twips:  6120    4230 \r\n"
                                 "Check Buoyt X,Y Survey:  45.5    .5 \r\n \r\n"));
    EXPECT_EQ(setupRecordText(SetupRecordKind::AfterStartupLoad, in),
              body(QStringLiteral("Twips")) +
                  QStringLiteral("Check Buoy X,Y Twips: 6120  4230\r\n"
                                 "Check Buoy X,Y Survey: 45.5  auto\r\n \r\n"));

    // A load without check buoy.
    SetupRecordInput none = in;
    none.checkPixX = 0;
    EXPECT_EQ(setupRecordText(SetupRecordKind::AfterLoad, none),
              body(QStringLiteral("Twips")) +
                  QStringLiteral("No check buoy for this set up\r\n \r\n"));
    // After Complete the check buoy is written whatever it holds.
    EXPECT_TRUE(setupRecordText(SetupRecordKind::AfterComplete, none)
                    .endsWith(QStringLiteral("Check Buoy X,Y Pixels:  0    4230 \r\n"
                                             "Check Buoy X,Y Survey:  45.5    .5 \r\n \r\n")));
}

TEST(SetupRecord, AppendsAfterEarlierLines) {
    test::TestEnv env;
    const QString results = env.path(QStringLiteral("results.txt"));
    test::writeAll(results, "earlier line\r\n");
    GridState s;
    s.buoyScreenX[3] = 3000, s.buoySurveyY[4] = -0.25, s.jumpX = 10.25;
    SetupRecordInput in = sampleInput();
    fillSetupRecordFromState(in, s);
    EXPECT_EQ(in.screenXText[3], QStringLiteral("3000"));
    EXPECT_EQ(in.surveyYText[4], QStringLiteral("-0.25"));
    EXPECT_EQ(in.jumpXText, QStringLiteral("10.25"));
    ASSERT_TRUE(appendSetupRecord(results, SetupRecordKind::AfterLoad, in));
    EXPECT_EQ(test::readAll(results),
              QByteArray("earlier line\r\n") +
                  setupRecordText(SetupRecordKind::AfterLoad, in).toLatin1());
    const FileResult bad =
        appendSetupRecord(env.path(QStringLiteral("no/dir/r.txt")), SetupRecordKind::AfterLoad, in);
    EXPECT_FALSE(bad);
    EXPECT_TRUE(bad.error.contains(QStringLiteral("no/dir/r.txt")));
}
