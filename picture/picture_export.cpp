// PNG through QImage, SVG through QSvgGenerator, PDF through QPdfWriter; every one painted by
// PaintControllerPicture, into a QSaveFile.
#include "picture/picture_export.h"

#include "app/assignment_sheet.h"
#include "picture/controller_picture.h"
#include "scene/display_texts.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>

namespace lumo {

namespace {

constexpr int kPdfDpi = 300;
constexpr double kMarginMm = 12;
// Up to this many lines the table has two columns, wide enough for the longest line; else three.
constexpr int kTwoColumnLines = 20;
// Fractions of the page's height: the picture at most, and the table's rows at most.
constexpr double kPictureShare = 0.55;
constexpr double kLargestRowMm = 6;

double pixelsPerMm(int dpi)
{
    return dpi / 25.4;
}

QString title(const SceneRecord& record, int sceneNumber)
{
    const QString name = SceneCaption(record);
    return name.isEmpty() ? QStringLiteral("Scene %1").arg(sceneNumber) : name;
}

QString cannotWrite(const QString& path, const QString& why)
{
    return QStringLiteral("Cannot write \"%1\": %2").arg(QFileInfo(path).fileName(), why);
}

void paintTable(QPainter& painter, const QRect& area, double mm, const QStringList& lines)
{
    QFont font(QStringLiteral("Arial"));
    if (lines.isEmpty()) {
        font.setPixelSize(int(4 * mm));
        painter.setFont(font);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("No control of this scene sends a message."));
        return;
    }
    const int columns = lines.size() <= kTwoColumnLines ? 2 : 3;
    const int rows = int((lines.size() + columns - 1) / columns);
    const int rowHeight = std::max(1, std::min(int(kLargestRowMm * mm), area.height() / rows));
    const int columnWidth = area.width() / columns;
    const int padding = int(1.5 * mm);
    font.setPixelSize(std::max(1, rowHeight * 6 / 10));
    painter.setFont(font);
    const QPen rule(QColor(160, 160, 160), std::max(1.0, 0.2 * mm));
    for (int k = 0; k < lines.size(); ++k) {
        const QRect cell(area.left() + (k / rows) * columnWidth, area.top() + (k % rows) * rowHeight, columnWidth,
                         rowHeight);
        if ((k % rows) % 2 == 1) painter.fillRect(cell, QColor(238, 238, 238));
        painter.setPen(Qt::black);
        painter.drawText(cell.adjusted(padding, 0, -padding, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(font, painter.device()).elidedText(lines[k], Qt::ElideRight, columnWidth - 2 * padding));
        painter.setPen(rule);
        painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    }
    painter.setPen(rule);
    const int usedColumns = int((lines.size() + rows - 1) / rows);
    for (int c = 0; c <= usedColumns; ++c)
        painter.drawLine(area.left() + c * columnWidth, area.top(), area.left() + c * columnWidth, area.top() + rows * rowHeight);
    painter.drawLine(area.left(), area.top(), area.left() + usedColumns * columnWidth, area.top());
}

QString writePng(QSaveFile& file, const SceneRecord& record, int mode, const NoteNames& notes)
{
    if (!RenderControllerPicture(record, mode, notes).save(&file, "PNG")) return file.errorString();
    return {};
}

QString writeSvg(QSaveFile& file, const SceneRecord& record, int sceneNumber, int mode, const NoteNames& notes)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(kControllerPictureRect.size());
    // The size is written in millimetres; at CSS's 96 pixels per inch it is 713 x 306 pixels.
    svg.setResolution(96);
    svg.setViewBox(QRect(QPoint(0, 0), kControllerPictureRect.size()));
    svg.setTitle(title(record, sceneNumber));
    svg.setDescription(QStringLiteral("Vorel Lumo scene %1, labels: %2").arg(sceneNumber).arg(DisplayModeItems().at(mode)));
    QPainter painter;
    if (!painter.begin(&svg)) return file.errorString();
    PaintControllerPicture(painter, record, mode, notes);
    painter.end();
    return {};
}

QString writePdf(QSaveFile& file, const SceneSet& scenes, const QList<int>& sceneNumbers, int mode, const NoteNames& notes)
{
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfDpi);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                  QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
    pdf.setTitle(QStringLiteral("Vorel Lumo scenes"));
    pdf.setCreator(QStringLiteral("Vorel Lumo"));
    QPainter painter;
    if (!painter.begin(&pdf)) return file.errorString();
    for (qsizetype k = 0; k < sceneNumbers.size(); ++k) {
        if (k > 0) pdf.newPage();
        PaintAssignmentPage(painter, pdf.pageLayout().paintRectPixels(kPdfDpi), kPdfDpi,
                            scenes.scene(sceneNumbers[k]), sceneNumbers[k], mode, notes);
    }
    painter.end();
    return {};
}

} // namespace

std::optional<PictureFormat> PictureFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return PictureFormat::Png;
    if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf")) return PictureFormat::Pdf;
    return std::nullopt;
}

void PaintAssignmentPage(QPainter& painter, const QRect& page, int dpi, const SceneRecord& record, int sceneNumber,
                         int mode, const NoteNames& notes)
{
    const double mm = pixelsPerMm(dpi);
    // The paint rectangle is the page inside its margins; the painter's origin is its corner.
    const QRect area(QPoint(0, 0), page.size());
    QFont heading(QStringLiteral("Arial"));
    heading.setPixelSize(int(8 * mm));
    heading.setBold(true);
    painter.setFont(heading);
    painter.setPen(Qt::black);
    const int headingHeight = QFontMetrics(heading, painter.device()).height();
    painter.drawText(QRect(area.left(), area.top(), area.width(), headingHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     title(record, sceneNumber));

    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(int(3.5 * mm));
    painter.setFont(small);
    painter.setPen(QColor(90, 90, 90));
    const int smallHeight = QFontMetrics(small, painter.device()).height();
    const int subtitleTop = area.top() + headingHeight;
    painter.drawText(QRect(area.left(), subtitleTop, area.width(), smallHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Vorel Lumo, scene %1; the labels show %2").arg(sceneNumber).arg(DisplayModeItems().at(mode)));

    // The picture as wide as the page, or lower where it would take more than its share.
    const QSize natural = kControllerPictureRect.size();
    double scale = double(area.width()) / natural.width();
    scale = std::min(scale, kPictureShare * area.height() / natural.height());
    const int pictureTop = subtitleTop + smallHeight + int(3 * mm);
    const int pictureLeft = area.left() + (area.width() - int(natural.width() * scale)) / 2;
    painter.save();
    painter.translate(pictureLeft, pictureTop);
    painter.scale(scale, scale);
    PaintControllerPicture(painter, record, mode, notes);
    painter.restore();

    const int tableTop = pictureTop + int(natural.height() * scale) + int(5 * mm);
    paintTable(painter, QRect(area.left(), tableTop, area.width(), area.bottom() - tableTop), mm,
               AssignmentSheetLines(record, notes));
}

QString ExportPicture(const QString& path, const SceneSet& scenes, const QList<int>& sceneNumbers, int mode,
                      const NoteNames& notes)
{
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    if (!format) return kPictureExtensionProblem;
    if (sceneNumbers.isEmpty()) return {};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return cannotWrite(path, file.errorString());
    const SceneRecord& first = scenes.scene(sceneNumbers.first());
    QString problem;
    switch (*format) {
    case PictureFormat::Png: problem = writePng(file, first, mode, notes); break;
    case PictureFormat::Svg: problem = writeSvg(file, first, sceneNumbers.first(), mode, notes); break;
    case PictureFormat::Pdf: problem = writePdf(file, scenes, sceneNumbers, mode, notes); break;
    }
    if (problem.isEmpty() && file.error() != QFileDevice::NoError) problem = file.errorString();
    if (!problem.isEmpty()) {
        file.cancelWriting();
        return cannotWrite(path, problem);
    }
    if (!file.commit()) return cannotWrite(path, file.errorString());
    return {};
}

} // namespace lumo
