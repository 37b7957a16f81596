#include "dialog/QtDialogPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "dialog/QtText.h"

namespace {

constexpr std::string_view kMessageTitle = "Rulecast";
constexpr std::string_view kRuleFileFilter = "KB Rules(*.pxkbx)";
constexpr std::string_view kFolderChooserTitle = "Please select a Folder.";

}  // namespace

void CQtDialogPrompts::ShowMessage(std::string_view text, std::string_view details)
{
    QMessageBox box(QMessageBox::NoIcon, ToQtText(kMessageTitle), ToQtText(text), QMessageBox::Ok,
                    owner_);
    if (!details.empty())
        box.setInformativeText(ToQtText(details));
    box.exec();
}

bool CQtDialogPrompts::AskYesNo(std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, ToQtText(kMessageTitle), ToQtText(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    return box.exec() == QMessageBox::Yes;
}

bool CQtDialogPrompts::ChooseRuleFile(std::string& path)
{
    // An open-file chooser returns only a file that exists.
    QString chosen = QFileDialog::getOpenFileName(owner_, QString(), QString(), ToQtText(kRuleFileFilter));
    if (chosen.isEmpty())
        return false;
    path = FromQtPath(chosen);
    return true;
}

bool CQtDialogPrompts::ChooseFolder(const std::string& startFolder, std::string& folder)
{
    QString chosen = QFileDialog::getExistingDirectory(owner_, ToQtText(kFolderChooserTitle),
                                                       ToQtPath(startFolder), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = FromQtPath(chosen);
    return true;
}
