#include <QtTest>
#include <filesystem>

#include "DialogFixture.h"

namespace {

using Texts = std::vector<std::string>;

}  // namespace

// The Qt window around the dialog's logic: keys, ways out and paths that are not valid text.
class DialogConvertTest : public QObject {
    Q_OBJECT

private slots:
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

    // As --dialog FILE opens it: the file is chosen as if picked, and Convert converts it.
    void opensWithTheRuleFileGiven_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("a rule file that exists") << "Plant.pxkbx" << true;
        QTest::newRow("a file that does not exist leaves the field empty") << "Missing.pxkbx" << false;
        QTest::newRow("a folder leaves the field empty") << "" << false;
    }
    void opensWithTheRuleFileGiven()
    {
        QFETCH(QString, given);
        QFETCH(bool, chosen);
        DialogFixture fixture;
        WriteFileBytes(fixture.app / "Plant.pxkbx", "");
        const std::string path = fixture.app / given.toStdString();
        auto dialog = fixture.Open();
        dialog->OpenWith(path);
        QCOMPARE(DialogFixture::Shown(*dialog, "rulePathEdit"), chosen ? path : std::string());
        fixture.script.folder = fixture.target.Path();
        DialogFixture::Click(*dialog, "browseFolderButton");
        DialogFixture::Click(*dialog, "convertButton");
        QCOMPARE(fixture.conversions.size(), size_t{chosen});
        QCOMPARE(fixture.script.shown.size(), size_t{1});
        QCOMPARE(fixture.script.shown.front() == kNoRuleFile, !chosen);
        QCOMPARE(ListFolder(fixture.target.Path()), chosen ? Texts{"Plant"} : Texts{});
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
};

QTEST_MAIN(DialogConvertTest)
#include "DialogConvertTest.moc"
