// Message boxes with fixed English captions (not the platform's translated ones) and the
// scene-file dialogs.
#include "editor/message_boxes.h"

#include "editor/dialog_start_folder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

namespace lumo {

namespace {

QString fileFilter()
{
    return QCoreApplication::translate("MessageBoxes", "*.lumo Vorel lumo File (*.lumo)");
}

const QString kLastFolderKey = QStringLiteral("Dialogs/LastFolder");

// ~/.config/vorel-lumo/vorel-lumo.conf, beside the user's own parameter files.
QSettings userSettings()
{
    return QSettings(QStringLiteral("vorel-lumo"), QStringLiteral("vorel-lumo"));
}

const QString kProgramTitle = QStringLiteral("Vorel Lumo");
// Window managers draw the title beside the window icon and up to three buttons; a box only as
// wide as its text would cut a title like "Information".
constexpr int kTitleBarReserve = 160;

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Confirm: return QMessageBox::Question;
    case MessageKind::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

void prepare(QMessageBox& box, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    box.setIcon(icon);
    box.setWindowTitle(title);
    box.setText(text);
    box.setWindowModality(Qt::ApplicationModal);
    // The box sizes itself from its layout, so the minimum width goes in as a spacer row.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int minimumWidth = QFontMetrics(titleFont).horizontalAdvance(title) + kTitleBarReserve;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(minimumWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
}

} // namespace

QString MessageTitle(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QCoreApplication::translate("MessageBoxes", "Warning");
    case MessageKind::Confirm: return QCoreApplication::translate("MessageBoxes", "Confirm");
    case MessageKind::Information: return QCoreApplication::translate("MessageBoxes", "Information");
    }
    return {};
}

Answer MessageBoxes::ask(MessageKind kind, const QString& text)
{
    QMessageBox box;
    prepare(box, iconOf(kind), MessageTitle(kind), text);
    QPushButton* yes = box.addButton(QCoreApplication::translate("MessageBoxes", "&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QCoreApplication::translate("MessageBoxes", "&No"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QCoreApplication::translate("MessageBoxes", "Cancel"), QMessageBox::RejectRole);
    yes->setObjectName(QStringLiteral("Yes"));
    no->setObjectName(QStringLiteral("No"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void MessageBoxes::tell(MessageKind kind, const QString& text)
{
    QMessageBox box;
    prepare(box, iconOf(kind), MessageTitle(kind), text);
    box.addButton(QCoreApplication::translate("MessageBoxes", "OK"), QMessageBox::AcceptRole)->setObjectName(QStringLiteral("OK"));
    box.exec();
}

void MessageBoxes::showError(const QString& text)
{
    QMessageBox box;
    prepare(box, QMessageBox::Critical, kProgramTitle, text);
    box.addButton(QCoreApplication::translate("MessageBoxes", "OK"), QMessageBox::AcceptRole)->setObjectName(QStringLiteral("OK"));
    box.exec();
}

std::optional<QString> MessageBoxes::chooseOpenFile()
{
    QFileDialog dialog(m_dialogParent);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a missing file is accepted; opening it then reports "File not found.".
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(fileFilter());
    dialog.setDefaultSuffix(QStringLiteral("lumo"));
    dialog.setSizeGripEnabled(true);
    dialog.setDirectory(m_nextOpenFolder.isEmpty() ? startFolder() : std::exchange(m_nextOpenFolder, QString()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    m_lastChosenFile = dialog.selectedFiles().constFirst();
    rememberFile(m_lastChosenFile);
    return m_lastChosenFile;
}

std::optional<QString> MessageBoxes::chooseSaveFile(const QString& proposedName)
{
    QFileDialog dialog(m_dialogParent);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(fileFilter());
    dialog.setDefaultSuffix(QStringLiteral("lumo"));
    dialog.setSizeGripEnabled(true);
    // QFileDialog asks before it replaces an existing file unless told otherwise.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    // A proposed name with a folder (the file last saved) starts in that folder.
    dialog.setDirectory(startFolder());
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    rememberFile(dialog.selectedFiles().constFirst());
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> MessageBoxes::chooseExportFile(const QString& proposedName)
{
    const QStringList filters{QCoreApplication::translate("MessageBoxes", "PDF document (*.pdf)"), QCoreApplication::translate("MessageBoxes", "PNG picture (*.png)"),
                              QCoreApplication::translate("MessageBoxes", "SVG drawing (*.svg)")};
    const QStringList suffixes{QStringLiteral("pdf"), QStringLiteral("png"), QStringLiteral("svg")};
    QFileDialog dialog(m_dialogParent);
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixes.first());
    // A name typed without an extension gets the chosen type's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters, suffixes](const QString& filter) {
        dialog.setDefaultSuffix(suffixes.value(filters.indexOf(filter), suffixes.first()));
    });
    dialog.setSizeGripEnabled(true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setDirectory(startFolder());
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void MessageBoxes::rememberFile(const QString& path)
{
    m_lastFolder = QFileInfo(path).absolutePath();
    userSettings().setValue(kLastFolderKey, m_lastFolder);
}

QString MessageBoxes::startFolder() const
{
    return DialogStartFolder({m_lastFolder, userSettings().value(kLastFolderKey).toString(), QDir::currentPath(),
                              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)});
}

} // namespace lumo
