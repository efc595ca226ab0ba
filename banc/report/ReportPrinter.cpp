#include "report/ReportPrinter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/PainterDC.h>
#include <tarvic/platform/Text.h>

#include <algorithm>

#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/SafeFile.h"
#include "report/ReportText.h"

namespace banc::report {
namespace {

constexpr TextStyle kFooterStyle{13, false};
constexpr int kPdfResolution = 600;  // dpi: the curves' points placed to 0.04 mm
constexpr double kMarginMm = 15;

QString FromLatin1(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<int>(text.size())); }

void DrawFooter(QPainter& painter, const Document& document, int page, int pages)
{
    CPainterDC dc(painter);
    CPen rule(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* previous = dc.SelectObject(&rule);
    dc.MoveTo(0, kFooterTop - 4);
    dc.LineTo(kPageWidth, kFooterTop - 4);
    dc.SelectObject(previous);
    DrawText(dc, document.footer, CPoint(0, kFooterTop), kFooterStyle);
    const std::string number = tarvic::Format("page %d / %d", page, pages);
    DrawText(dc, number, CPoint(kPageWidth - TextExtent(dc, number, kFooterStyle).cx, kFooterTop), kFooterStyle);
}

}  // namespace

Document Measured(const std::function<Document(CDC& measure)>& make)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    CPainterDC dc(painter);
    return make(dc);
}

std::string PrintDocument(const Document& document, QPagedPaintDevice& device)
{
    if (!QGuiApplication::instance()) return "Le dessin demande une application Qt.";
    const std::vector<Page> pages = LayOut(document.blocks);
    QPainter painter;
    if (!painter.begin(&device)) return "Impossible de commencer l'impression.";
    // The page's units on the printable area, whatever its size, the whole page seen.
    const double scale = std::min(device.width() / double{kPageWidth}, device.height() / double{kSheetHeight});
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) return "Impossible de passer \xE0 la page suivante.";
        painter.save();
        painter.scale(scale, scale);
        for (const PlacedBlock& placed : pages[i]) placed.block->draw(painter, placed.top);
        DrawFooter(painter, document, static_cast<int>(i) + 1, static_cast<int>(pages.size()));
        painter.restore();
    }
    return painter.end() ? "" : "Impossible de terminer l'impression.";
}

std::string PdfBytes(const Document& document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(FromLatin1(document.title));
        writer.setCreator(QStringLiteral("tarvic-banc"));
        if (!PrintDocument(document, writer).empty()) return {};
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string WritePdf(const std::string& path, const Document& document)
{
    if (std::string kept = SpecialFileKept(path); !kept.empty()) return kept;
    if (std::string kept = ArchiveKept(path); !kept.empty()) return kept;
    if (!QGuiApplication::instance()) return "Le dessin demande une application Qt.";
    const std::string pdf = PdfBytes(document);
    if (pdf.empty()) return tarvic::Format("Impossible de dessiner le rapport %s.", path.c_str());
    const int error = WriteWholeFile(path, pdf);
    if (error == 0) return {};
    return tarvic::Format("Impossible d'\xE9" "crire le rapport %s : %s.", path.c_str(),
                          tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
}

}  // namespace banc::report
