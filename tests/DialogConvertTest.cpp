#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "DialogFixture.h"
#include "kbfile/KBItemsConvertor.h"

namespace {

constexpr const char* kNoRuleFile = "Please select the file you want to convert!";
constexpr const char* kNoTargetFolder = "Please select the target folder you want to put the VB project into!";
constexpr const char* kOverwrite = "The folder of VB project has existed! Do you want to overwrite it?";
constexpr const char* kConverted = "The file has been Converted to VB project successfully!";
constexpr const char* kFailed = "Error occurs during conversion! Please check the log file.";

using Texts = std::vector<std::string>;

}  // namespace

// Convert, the choosers and the ways out of the dialog, against scripted answers.
class DialogConvertTest : public QObject {
    Q_OBJECT

private slots:
    void aMissingChoiceStopsBeforeAnyWork_data()
    {
        QTest::addColumn<bool>("chooseRule");
        QTest::addColumn<bool>("clearTarget");
        QTest::addColumn<std::string>("message");
        QTest::newRow("no rule file") << false << false << std::string(kNoRuleFile);
        QTest::newRow("no target folder") << true << true << std::string(kNoTargetFolder);
        QTest::newRow("neither: the rule file is asked for first") << false << true << std::string(kNoRuleFile);
    }
    void aMissingChoiceStopsBeforeAnyWork()
    {
        QFETCH(bool, chooseRule);
        QFETCH(bool, clearTarget);
        QFETCH(std::string, message);
        DialogFixture fixture;
        auto dialog = fixture.Open();
        fixture.Choose(*dialog, "/rules/Plant.pxkbx", fixture.target.Path());
        if (!chooseRule)
            DialogFixture::Edit(*dialog, "rulePathEdit")->clear();
        if (clearTarget)
            DialogFixture::Edit(*dialog, "targetFolderEdit")->clear();
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(fixture.script.shown, Texts{message});
        QVERIFY(fixture.conversions.empty());
        QCOMPARE(ListFolder(fixture.target.Path()), Texts{});
        QCOMPARE(ListFolder(fixture.app.Path()), Texts{});
    }

    void enterPressesConvert()
    {
        DialogFixture fixture;
        auto dialog = fixture.Open();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QCOMPARE(fixture.script.shown, Texts{kNoRuleFile});
        QVERIFY(dialog->isVisible());
    }

    void convertingAgainAsksBeforeOverwriting_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No converts nothing") << false;
        QTest::newRow("Yes converts again") << true;
    }
    void convertingAgainAsksBeforeOverwriting()
    {
        QFETCH(bool, yes);
        DialogFixture fixture;
        auto dialog = fixture.Open();
        fixture.Choose(*dialog, "/rules/Plant.pxkbx", fixture.target.Path());
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(fixture.script.shown, Texts{kConverted});
        // A later conversion's folder must not be saved when No stops it.
        WriteFileBytes(fixture.app / "config.txt", "/srv/marker\r\n");

        fixture.script.answers = {yes};
        DialogFixture::Click(*dialog, "convertButton");
        Texts expected{kConverted, kOverwrite};
        if (yes)
            expected.push_back(kConverted);
        QCOMPARE(fixture.script.shown, expected);
        QCOMPARE(fixture.conversions.size(), size_t{yes ? 2u : 1u});
        QCOMPARE(fixture.Config(), yes ? fixture.target.Path() + "\r\n" : std::string("/srv/marker\r\n"));
        QCOMPARE(DialogFixture::Shown(*dialog, "rulePathEdit"), std::string("/rules/Plant.pxkbx"));
    }

    void theFolderMadeFirstIsNamedAfterTheRuleFile_data()
    {
        QTest::addColumn<std::string>("ruleFile");
        QTest::addColumn<std::string>("folder");
        QTest::newRow("one extension") << std::string("/rules/Renamed.pxkbx") << std::string("Renamed");
        QTest::newRow("only the last extension goes") << std::string("/rules/Pumps.v2.pxkbx")
                                                       << std::string("Pumps.v2");
    }
    void theFolderMadeFirstIsNamedAfterTheRuleFile()
    {
        QFETCH(std::string, ruleFile);
        QFETCH(std::string, folder);
        DialogFixture fixture;
        auto dialog = fixture.Open();
        fixture.Choose(*dialog, ruleFile, fixture.target.Path());
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(ListFolder(fixture.target.Path()), Texts{folder});
        QCOMPARE(ListFolder(fixture.target / folder), Texts{});
        // The reader gets the target folder itself: the project's folder is the module's to name.
        QCOMPARE(fixture.conversions.size(), size_t{1});
        QCOMPARE(fixture.conversions[0].rulePath, ruleFile);
        QCOMPARE(fixture.conversions[0].targetFolder, fixture.target.Path());
    }

    void pathsKeepTheirBytes()
    {
        // Latin-1 names, which are not valid UTF-8 text.
        DialogFixture fixture;
        std::string folder = fixture.target / "d\xe9p";
        std::filesystem::create_directory(folder);
        auto dialog = fixture.Open();
        fixture.Choose(*dialog, "/rules/caf\xe9.pxkbx", folder);
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(fixture.conversions.size(), size_t{1});
        QCOMPARE(fixture.conversions[0].rulePath, std::string("/rules/caf\xe9.pxkbx"));
        QCOMPARE(fixture.conversions[0].targetFolder, folder);
        QCOMPARE(ListFolder(folder), Texts{"caf\xe9"});
        QCOMPARE(fixture.Config(), folder + "\r\n");
    }

    void aFolderThatCannotBeMadeStillConverts()
    {
        DialogFixture fixture;
        auto dialog = fixture.Open();
        std::string missing = fixture.target / "missing";
        fixture.Choose(*dialog, "/rules/fail.pxkbx", missing);
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(fixture.script.shown, Texts{kFailed});
        QCOMPARE(fixture.conversions.size(), size_t{1});
        QCOMPARE(fixture.Config(), missing + "\r\n");
    }

    void cancelledChoosersChangeNothing()
    {
        DialogFixture fixture;
        auto dialog = fixture.Open();
        fixture.Choose(*dialog, "/rules/Plant.pxkbx", fixture.target.Path());
        fixture.script.ruleFile.reset();
        fixture.script.folder.reset();
        DialogFixture::Click(*dialog, "browseRuleButton");
        DialogFixture::Click(*dialog, "browseFolderButton");
        QCOMPARE(DialogFixture::Shown(*dialog, "rulePathEdit"), std::string("/rules/Plant.pxkbx"));
        QCOMPARE(DialogFixture::Shown(*dialog, "targetFolderEdit"), fixture.target.Path());
        // Each folder chooser opens at the folder shown at that moment.
        QCOMPARE(fixture.script.folderStarts.size(), size_t{2});
        QCOMPARE(fixture.script.folderStarts[1], fixture.target.Path());
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(ListFolder(fixture.target.Path()), Texts{"Plant"});
    }

    void everyWayOutClosesWithoutAQuestion_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Escape") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Quit") << 2;
    }
    void everyWayOutClosesWithoutAQuestion()
    {
        QFETCH(int, way);
        DialogFixture fixture;
        auto dialog = fixture.Open();
        fixture.Choose(*dialog, "/rules/Plant.pxkbx", fixture.target.Path());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        if (way == 0)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else if (way == 1)
            QVERIFY(dialog->close());
        else
            DialogFixture::Click(*dialog, "quitButton");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(fixture.script.shown, Texts{});
        QVERIFY(fixture.conversions.empty());
        QCOMPARE(ListFolder(fixture.app.Path()), Texts{});
    }

    // With the real reader: the project goes into the module's folder, beside the empty folder
    // named after the rule file.
    void theRealReaderWritesIntoTheModulesFolder()
    {
        DialogFixture fixture;
        TempFolder rules;
        std::filesystem::copy_file(RULECAST_SOURCE_DIR "/examples/Plant.pxkbx", rules / "Renamed.pxkbx");
        auto makeConverter = [&fixture] {
            return std::make_unique<CConvertHelper>([] { return std::make_unique<CKBItemsConvertor>(); },
                                                    fixture.app.Path() + "/");
        };
        CRulecastDlg dialog(makeConverter, std::make_unique<ScriptedPrompts>(fixture.script));
        fixture.Choose(dialog, rules / "Renamed.pxkbx", fixture.target.Path());
        DialogFixture::Click(dialog, "convertButton");
        QCOMPARE(fixture.script.shown, Texts{kConverted});
        QCOMPARE(ListFolder(fixture.target.Path()), (Texts{"Plant", "Renamed"}));
        QCOMPARE(ListFolder(fixture.target / "Renamed"), Texts{});
        QVERIFY(std::filesystem::exists(fixture.target / "Plant/Plant.vbp"));
    }

    // The message keeps its exact text; the reason and line go into its details, which end with
    // the log the message sends the user to.
    void aFailureShowsItsReasonAndLogAsDetails()
    {
        DialogFixture fixture;
        TempFolder rules;
        WriteFileBytes(rules / "Broken.pxkbx", "<Rules name=\"B\">\n  <Rule name=\"R\"/>\n</Rules>\n");
        auto makeConverter = [&fixture] {
            return std::make_unique<CConvertHelper>([] { return std::make_unique<CKBItemsConvertor>(); },
                                                    fixture.app.Path() + "/");
        };
        CRulecastDlg dialog(makeConverter, std::make_unique<ScriptedPrompts>(fixture.script));
        fixture.Choose(dialog, rules / "Broken.pxkbx", fixture.target.Path());
        DialogFixture::Click(dialog, "convertButton");
        QCOMPARE(fixture.script.shown, Texts{kFailed});
        Texts logs = ListFolder(fixture.app.Path());
        logs.erase(std::remove(logs.begin(), logs.end(), "config.txt"), logs.end());
        QCOMPARE(logs.size(), size_t{1});
        QCOMPARE(fixture.script.details,
                 Texts{rules / "Broken.pxkbx" + ":2: error: Rule 'R' has no attribute 'displayname'\n" +
                       rules / "Broken.pxkbx" + ": note: log file " + fixture.app / logs[0]});
    }
};

QTEST_MAIN(DialogConvertTest)
#include "DialogConvertTest.moc"
