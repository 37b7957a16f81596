#include <QLabel>
#include <QtTest>

#include "DialogFixture.h"

namespace {

using Texts = std::vector<std::string>;

}  // namespace

// The window as the user sees it: places, captions, tab order and frame.
class DialogLayoutTest : public QObject {
    Q_OBJECT

private slots:
    // The places come from dialog units: x * 1.5 pixels across, y * 1.625 down, edges rounded.
    void controlsSitAtTheirPlacesWithTheirCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
        QTest::newRow("Convert") << "convertButton" << "Convert" << QRect(281, 124, 70, 30);
        QTest::newRow("Quit") << "quitButton" << "Quit" << QRect(363, 124, 53, 30);
        QTest::newRow("View log file") << "viewLogButton" << "View log file" << QRect(48, 124, 78, 30);
        QTest::newRow("rule label") << "ruleFileLabel" << "Select pxkbx file:" << QRect(24, 31, 102, 23);
        QTest::newRow("target label") << "targetFolderLabel" << "Select target path:" << QRect(24, 72, 102, 24);
        QTest::newRow("target edit") << "targetFolderEdit" << "" << QRect(126, 72, 254, 24);
        QTest::newRow("folder chooser") << "browseFolderButton" << "..." << QRect(387, 72, 29, 24);
    }
    void controlsSitAtTheirPlacesWithTheirCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        DialogFixture fixture;
        auto dialog = fixture.Open();
        QWidget* control = dialog->findChild<QWidget*>(name);
        QCOMPARE(control->geometry(), place);
        if (!caption.isEmpty())
            QCOMPARE(control->property("text").toString(), caption);
        // Readable: the caption fits in the dialog's font, with room for a button's frame.
        int frame = qobject_cast<QLabel*>(control) ? 0 : 6;
        QVERIFY(control->fontMetrics().horizontalAdvance(caption) + frame <= place.width());
        QVERIFY(control->fontMetrics().height() <= place.height());
    }

    void theWindowIsASmallFixedDialog()
    {
        DialogFixture fixture;
        auto dialog = fixture.Open();
        QCOMPARE(dialog->windowTitle(), QString("Rulecast"));
        QCOMPARE(dialog->minimumSize(), QSize(435, 166));
        QCOMPARE(dialog->maximumSize(), QSize(435, 166));
        Qt::WindowFlags flags = dialog->windowFlags();
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!dialog->windowIcon().isNull());
        QVERIFY(dialog->findChild<QPushButton*>("convertButton")->isDefault());
        QVERIFY(dialog->findChild<QPushButton*>("viewLogButton")->isHidden());
        QVERIFY(DialogFixture::Edit(*dialog, "rulePathEdit")->isReadOnly());
        QVERIFY(DialogFixture::Edit(*dialog, "targetFolderEdit")->isReadOnly());
    }

    void tabGoesThroughTheControlsInOrder()
    {
        DialogFixture fixture;
        auto dialog = fixture.Open();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        Texts order;
        QWidget* widget = dialog->findChild<QWidget*>("convertButton");
        do {
            if (widget->isVisibleTo(dialog.get()) && (widget->focusPolicy() & Qt::TabFocus))
                order.push_back(widget->objectName().toStdString());
            widget = widget->nextInFocusChain();
        } while (widget->objectName() != "convertButton");
        QCOMPARE(order, (Texts{"convertButton", "quitButton", "rulePathEdit", "targetFolderEdit",
                               "browseRuleButton", "browseFolderButton"}));
    }

    // Not a check: with RULECAST_DIALOG_SHOT set to a PNG path, saves the dialog as it looks after
    // both choices, for a person to look at.
    void screenshot()
    {
        QByteArray path = qgetenv("RULECAST_DIALOG_SHOT");
        if (path.isEmpty())
            QSKIP("RULECAST_DIALOG_SHOT is not set");
        DialogFixture fixture;
        auto dialog = fixture.Open();
        fixture.Choose(*dialog, "/home/anna/Rules/Pumping station/Plant.pxkbx", "/home/anna/VB Projects");
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::qWait(300);
        QVERIFY(dialog->grab().save(QString::fromLocal8Bit(path)));
        QTest::qWait(qEnvironmentVariableIntValue("RULECAST_DIALOG_SHOT_WAIT"));
    }
};

QTEST_MAIN(DialogLayoutTest)
#include "DialogLayoutTest.moc"
