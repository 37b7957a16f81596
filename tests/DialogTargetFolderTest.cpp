#include <QtTest>
#include <filesystem>

#include "DialogFixture.h"

// The documents folder that the Qt window offers when no target folder is remembered.
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

    void opensWithTheDocumentsFolderWithoutConfig()
    {
        // A documents folder that is not there would fail the first Convert: the home folder
        // stands in, and the documents folder is not created.
        for (const std::string& shown : {home.Path(), documents}) {
            DialogFixture fixture;
            auto dialog = fixture.Open();
            QCOMPARE(DialogFixture::Shown(*dialog, "targetFolderEdit"), shown);
            QVERIFY2(std::filesystem::exists(documents) == (shown == documents),
                     "the documents folder must not be created");
            std::filesystem::create_directory(documents);
        }
    }
};

QTEST_MAIN(DialogTargetFolderTest)
#include "DialogTargetFolderTest.moc"
