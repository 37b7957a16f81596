#include <QtTest>
#include <filesystem>

#include "DialogFixture.h"

namespace {

constexpr const char* kConverted = "The file has been Converted to VB project successfully!";
constexpr const char* kFailed = "Error occurs during conversion! Please check the log file.";

}  // namespace

// The target folder that the dialog shows when it opens, and that it remembers in config.txt.
class DialogTargetFolderTest : public QObject {
    Q_OBJECT

    TempFolder home;
    std::string documents;

private slots:
    void initTestCase()
    {
        // A home of the test's own whose documents folder is not the default one, so that the
        // dialog must really ask for the documents folder rather than guess it.
        std::filesystem::create_directory(home / "config");
        WriteFileBytes(home / "config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/My Rules\"\n");
        qputenv("HOME", home.Path().c_str());
        qputenv("XDG_CONFIG_HOME", (home / "config").c_str());
        documents = home / "My Rules";
    }

    void opensWithTheRememberedFolderOrTheDocuments_data()
    {
        QTest::addColumn<std::optional<std::string>>("config");
        QTest::addColumn<bool>("showsDocuments");
        QTest::addColumn<std::string>("remembered");
        QTest::newRow("no config.txt") << std::optional<std::string>() << true << std::string();
        QTest::newRow("empty file") << std::optional<std::string>("") << true << std::string();
        QTest::newRow("empty first line") << std::optional<std::string>("\r\n/srv/second\r\n") << true
                                          << std::string();
        QTest::newRow("CR LF line") << std::optional<std::string>("/srv/VB projects\r\n/srv/other\r\n")
                                    << false << std::string("/srv/VB projects");
        QTest::newRow("bare LF line") << std::optional<std::string>("/srv/lf\n") << false
                                      << std::string("/srv/lf");
        QTest::newRow("no line end") << std::optional<std::string>("/srv/last") << false
                                     << std::string("/srv/last");
    }
    void opensWithTheRememberedFolderOrTheDocuments()
    {
        QFETCH(std::optional<std::string>, config);
        QFETCH(bool, showsDocuments);
        QFETCH(std::string, remembered);
        DialogFixture fixture;
        if (config)
            WriteFileBytes(fixture.app / "config.txt", *config);
        auto dialog = fixture.Open();
        QCOMPARE(DialogFixture::Shown(*dialog, "targetFolderEdit"), showsDocuments ? documents : remembered);
        QCOMPARE(DialogFixture::Shown(*dialog, "rulePathEdit"), std::string());
        QVERIFY2(!std::filesystem::exists(documents), "the documents folder must not be created");
        QVERIFY(fixture.script.shown.empty());
    }

    void everyConversionThatRanSavesTheFolder_data()
    {
        QTest::addColumn<std::string>("ruleFile");
        QTest::addColumn<std::string>("message");
        QTest::newRow("succeeded") << std::string("Plant.pxkbx") << std::string(kConverted);
        QTest::newRow("failed") << std::string("fail.pxkbx") << std::string(kFailed);
    }
    void everyConversionThatRanSavesTheFolder()
    {
        QFETCH(std::string, ruleFile);
        QFETCH(std::string, message);
        DialogFixture fixture;
        WriteFileBytes(fixture.app / "config.txt", "/srv/before\r\n");
        {
            auto dialog = fixture.Open();
            fixture.Choose(*dialog, "/rules/" + ruleFile, fixture.target.Path());
            DialogFixture::Click(*dialog, "convertButton");
            QCOMPARE(fixture.script.shown, std::vector<std::string>{message});
            QCOMPARE(fixture.conversions.size(), size_t{1});
            // Text mode on disk: the line ends in CR LF, and nothing else follows it.
            QCOMPARE(fixture.Config(), fixture.target.Path() + "\r\n");
        }
        auto next = fixture.Open();
        QCOMPARE(DialogFixture::Shown(*next, "targetFolderEdit"), fixture.target.Path());
    }

    void aConfigThatCannotBeWrittenIsSkipped()
    {
        DialogFixture fixture;
        // A folder in config.txt's place cannot be opened as a file, even by root.
        std::filesystem::create_directory(fixture.app / "config.txt");
        auto dialog = fixture.Open();
        QCOMPARE(DialogFixture::Shown(*dialog, "targetFolderEdit"), documents);
        fixture.Choose(*dialog, "/rules/Plant.pxkbx", fixture.target.Path());
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(fixture.script.shown, std::vector<std::string>{kConverted});
        QVERIFY(std::filesystem::is_directory(fixture.app / "config.txt"));
    }
};

QTEST_MAIN(DialogTargetFolderTest)
#include "DialogTargetFolderTest.moc"
