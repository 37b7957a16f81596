#include "dialog/QtRulecastDlg.h"

#include <QDir>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <cmath>
#include <string_view>

#include "dialog/QtDialogPrompts.h"
#include "dialog/QtText.h"

namespace {

constexpr std::string_view kCaption = "Rulecast";
constexpr std::string_view kConvertCaption = "Convert";
constexpr std::string_view kQuitCaption = "Quit";
constexpr std::string_view kViewLogCaption = "View log file";
constexpr std::string_view kRuleFileLabel = "Select pxkbx file:";
constexpr std::string_view kTargetFolderLabel = "Select target path:";
constexpr std::string_view kBrowseCaption = "...";

constexpr const char* kIconPath = ":/icons/rulecast.png";
constexpr double kFontPointSize = 8;
constexpr double kSmallestPointSize = 6;
// Room a push button's frame takes from its caption, in pixels.
constexpr int kButtonFrame = 6;

// A place in dialog units: x, y, width, height.
struct DialogUnits {
    int x, y, width, height;
};

enum class Kind { Button, Label, Edit };

struct ControlTemplate {
    Kind kind;
    const char* name;
    std::string_view caption;
    DialogUnits place;
};

constexpr DialogUnits kDialogSize{0, 0, 290, 102};
// In tab order.
constexpr ControlTemplate kControls[] = {
    {Kind::Button, "convertButton", kConvertCaption, {187, 76, 47, 19}},
    {Kind::Button, "quitButton", kQuitCaption, {242, 76, 35, 19}},
    {Kind::Button, "viewLogButton", kViewLogCaption, {32, 76, 52, 19}},
    {Kind::Label, "ruleFileLabel", kRuleFileLabel, {16, 19, 68, 14}},
    {Kind::Label, "targetFolderLabel", kTargetFolderLabel, {16, 44, 68, 15}},
    {Kind::Edit, "rulePathEdit", "", {84, 19, 169, 14}},
    {Kind::Edit, "targetFolderEdit", "", {84, 44, 169, 15}},
    {Kind::Button, "browseRuleButton", kBrowseCaption, {258, 19, 19, 14}},
    {Kind::Button, "browseFolderButton", kBrowseCaption, {258, 44, 19, 15}},
};

// A dialog unit of the 8-point font is 1.5 pixels across and 1.625 down. Edges are rounded rather
// than sizes, so that controls whose edges meet in units meet in pixels too.
QRect ToPixels(DialogUnits place)
{
    auto across = [](int units) { return static_cast<int>(std::lround(units * 1.5)); };
    auto down = [](int units) { return static_cast<int>(std::lround(units * 1.625)); };
    return QRect(QPoint(across(place.x), down(place.y)),
                 QPoint(across(place.x + place.width) - 1, down(place.y + place.height) - 1));
}

bool CaptionsFit(const QFont& font)
{
    QFontMetrics metrics(font);
    for (const ControlTemplate& control : kControls) {
        int frame = control.kind == Kind::Button ? kButtonFrame : 0;
        if (metrics.horizontalAdvance(ToQtText(control.caption)) + frame > ToPixels(control.place).width())
            return false;
    }
    return true;
}

// The places were laid out for a narrow 8-point font; most desktop fonts run wider, so the font
// shrinks until every caption fits its control.
QFont CaptionFont(QFont font)
{
    font.setPointSizeF(kFontPointSize);
    while (!CaptionsFit(font) && font.pointSizeF() > kSmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

QWidget* MakeControl(const ControlTemplate& item, QWidget* dialog)
{
    QWidget* control = nullptr;
    switch (item.kind) {
    case Kind::Button:
        control = new QPushButton(ToQtText(item.caption), dialog);
        break;
    case Kind::Label:
        control = new QLabel(ToQtText(item.caption), dialog);
        static_cast<QLabel*>(control)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    case Kind::Edit:
        // Read-only: the two values change only through the choosers.
        control = new QLineEdit(ToQtText(item.caption), dialog);
        static_cast<QLineEdit*>(control)->setReadOnly(true);
        break;
    }
    control->setObjectName(item.name);
    control->setGeometry(ToPixels(item.place));
    return control;
}

// A path whose bytes are not valid text does not survive the trip through the edit, so the field
// keeps its own bytes for as long as the edit still shows them.
void ReadEdit(const QLineEdit& edit, std::string& field)
{
    if (edit.text() != ToQtPath(field))
        field = FromQtPath(edit.text());
}

}  // namespace

CQtRulecastDlg::CQtRulecastDlg(CRulecastDlg::ConverterFactory makeConverter,
                               std::unique_ptr<CDialogPrompts> prompts, QWidget* parent)
    : QDialog(parent), prompts_(std::move(prompts)), logic_(*this, std::move(makeConverter))
{
    if (!prompts_)
        prompts_ = std::make_unique<CQtDialogPrompts>(this);
    CreateControls();
    setWindowIcon(QIcon(kIconPath));
    logic_.OnInitDialog();
}

CQtRulecastDlg::~CQtRulecastDlg() = default;

std::string CQtRulecastDlg::DocumentsFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A missing one would fail the first Convert; it is not made, since the user may want another.
    if (documents.isEmpty() || !QDir(documents).exists())
        documents = QDir::homePath();
    return FromQtPath(documents);
}

void CQtRulecastDlg::CreateControls()
{
    setWindowTitle(ToQtText(kCaption));
    // A fixed frame with a close box only: no minimise, maximise or help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(CaptionFont(font()));
    setFixedSize(ToPixels(kDialogSize).size());

    // Made in tab order, which Qt takes as the focus chain.
    for (const ControlTemplate& item : kControls)
        MakeControl(item, this);
    auto* convert = findChild<QPushButton*>("convertButton");
    convert->setDefault(true);
    findChild<QPushButton*>("viewLogButton")->hide();
    rulePathEdit_ = findChild<QLineEdit*>("rulePathEdit");
    targetFolderEdit_ = findChild<QLineEdit*>("targetFolderEdit");

    connect(convert, &QPushButton::clicked, this, [this] { logic_.OnOK(); });
    connect(findChild<QPushButton*>("quitButton"), &QPushButton::clicked, this, &CQtRulecastDlg::OnQuit);
    connect(findChild<QPushButton*>("browseRuleButton"), &QPushButton::clicked, this,
            [this] { logic_.OnBrowseRuleFile(); });
    connect(findChild<QPushButton*>("browseFolderButton"), &QPushButton::clicked, this,
            [this] { logic_.OnBrowseTargetFolder(); });
}

void CQtRulecastDlg::ShowFields(const std::string& rulePath, const std::string& targetFolder)
{
    rulePathEdit_->setText(ToQtPath(rulePath));
    targetFolderEdit_->setText(ToQtPath(targetFolder));
    // A long path shows from its start, its drive or root first.
    rulePathEdit_->setCursorPosition(0);
    targetFolderEdit_->setCursorPosition(0);
}

void CQtRulecastDlg::ReadFields(std::string& rulePath, std::string& targetFolder)
{
    ReadEdit(*rulePathEdit_, rulePath);
    ReadEdit(*targetFolderEdit_, targetFolder);
}

void CQtRulecastDlg::ShowMessage(std::string_view text, std::string_view details)
{
    prompts_->ShowMessage(text, details);
}

bool CQtRulecastDlg::AskYesNo(std::string_view text)
{
    return prompts_->AskYesNo(text);
}

bool CQtRulecastDlg::ChooseRuleFile(std::string& path)
{
    return prompts_->ChooseRuleFile(path);
}

bool CQtRulecastDlg::ChooseFolder(const std::string& startFolder, std::string& folder)
{
    return prompts_->ChooseFolder(startFolder, folder);
}

void CQtRulecastDlg::OnQuit()
{
    logic_.OnQuit();
    accept();
}

void CQtRulecastDlg::reject()
{
    OnQuit();
}
