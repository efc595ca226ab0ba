#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "BancTestSupport.h"
#include "PdfText.h"
#include "engine/outputs/Results.h"
#include "recording/RecordingSupport.h"
#include "report/Report.h"
#include "report/ReportPrinter.h"
#include "support/GuiApplication.h"
#include "support/TraceCapture.h"

using namespace banc;
using banc::test::PdfText;
using banc::test::ToolOutput;
using banc::test::Words;
using tarvic::test::Valeurs;

namespace {

// Rows of the water level bench's recording, as the card fills them.
constexpr int kCommandRow = 0, kMeasureRow = 7, kSetpointRow = 8;
constexpr int kFullScale = 3264;  // output counts of 100 %

// The measurement rises by 3.125 % a point to 46.875 % at point 15, stands
// at 55 % from point 16 to 19 (54.99 %: 1795 counts of 3264), then at 50 %:
// the setpoint, overshot by 10 % of its step from 0. The command stands at 25 %.
float Measure(int i) { return i < 16 ? 3.125f * static_cast<float>(i) : i < 20 ? 55.0f : 50.0f; }

std::string Utf8(const std::string& latin1) { return QString::fromLatin1(latin1.c_str()).toUtf8().toStdString(); }

// Four blocks of a water level PID run: the setpoint at 50 %, the command at 25 %.
void Record(Elements& elements, float (*measure)(int))
{
    std::vector<Valeurs> blocks(4);
    for (int i = 0; i < 4 * 32; ++i) {
        auto& block = blocks[static_cast<std::size_t>(i / 32)];
        block[kCommandRow][i % 32] = kFullScale / 4;
        block[kMeasureRow][i % 32] = static_cast<std::uint16_t>(measure(i) * kFullScale / 100);
        block[kSetpointRow][i % 32] = kFullScale / 2;
    }
    tarvic::test::Acquiert(*elements.recording, blocks);
}

// A water level PID run of four blocks (two minutes of 0.5 s points), kept
// as number 12, with the lab work's results of an identification.
class Report : public ::testing::Test {
protected:
    void SetUp() override
    {
        tarvic::test::RequireGuiApplication();
        Settings& settings = m_run.loaded.settings;
        settings = banc::test::MakeSettings("niveaueau", "pid", {{"kp", 2}, {"ti", 20}, {"echelon", 50}});
        settings.duration = 64;
        settings.actions = "PID";  // the derivative's words carry accents
        Elements& elements = m_run.loaded.elements;
        ASSERT_EQ(Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error, "");
        Record(elements, Measure);
        history::StoredRun& stored = m_run.stored;
        stored.number = 12;
        stored.startedAt = "2026-12-08 15:04:05";
        stored.user = "\xC9lodie Lef\xE8vre";
        stored.host = "salle-b12";
        stored.bench = "niveaueau";
        stored.mode = "pid";
        stored.summary = "PID Kp 2 Ti 20 s, \xE9" "chelon 0 -> 50 %";
        stored.card = "CARTE V3.1";
        stored.comment = "Tr\xE8s bonne r\xE9ponse ; d\xE9passement \xE0 r\xE9" "duire !";
        stored.resultsJson = R"({"periode_s": 0.5, "unite_mesure": "%",
            "modele": {"type": "premier_ordre_retard", "gain": 0.8, "unite_gain": "%/%", "constante_temps_s": 12.5,
                       "retard_s": 1.5, "ordre": 1, "residu": 0.4321, "part_expliquee": 0.987},
            "methodes": [{"methode": "broida", "libelle": "Bro\u00efda", "gain": 0.81, "unite_gain": "%/%",
                          "constante_temps_s": 12.0, "retard_s": 2.0, "ordre": 1}],
            "reglages": [{"regle": "imc", "correcteur": "PI", "kp": 1.25, "ti": 12.5, "td": null, "kf": null,
                          "ks": 1, "actions": "PI", "prediction": {"depassement_pct": 4.3, "temps_montee_s": 8.5,
                          "temps_etablissement_s": 20, "verdict": "etablie"}}]})";
    }

    std::string WriteTo(const std::string& path)
    {
        return report::WriteRunReport(path, m_run.stored, m_run.loaded.settings, m_run.loaded.elements);
    }
    std::string Pdf()
    {
        const std::string path = m_folder.File("rapport.pdf");
        EXPECT_EQ(WriteTo(path), "");
        return path;
    }
    // The report's text in reading order, or laid out as on the page.
    std::string Text(bool layout = false) { return PdfText(Pdf(), layout); }

    tarvic::test::TraceCapture m_quiet;
    ComparedRun m_run;
    banc::test::TemporaryFolder m_folder;
};

}  // namespace

TEST_F(Report, TitleBlockNamesTheRunItsBenchItsPeopleAndItsCard)
{
    EXPECT_NE(Text(true).find(Utf8("Essai n\xB0 12 : Niveau d'eau, r\xE9gulation PID\n"
                                   "Banc Niveau d'eau\n"
                                   "Mode 1 : r\xE9gulation PID, mesure : niveau 1\n"
                                   "Date 2026-12-08 15:04:05\n"
                                   "Utilisateur \xC9lodie Lef\xE8vre\n"
                                   "Poste salle-b12\n"
                                   "Carte CARTE V3.1\n"
                                   "Issue complet\n"
                                   "Enregistrement 4 blocs sur 4, un point toutes les 500 ms\n"
                                   "R\xE9glages PID Kp 2 Ti 20 s, \xE9" "chelon 0 -> 50 %\n"
                                   "Synoptique\n")),
              std::string::npos)
        << Text(true);
}

TEST_F(Report, StepFiguresAreTheRecordsOwn)
{
    EXPECT_NE(Text().find(Utf8(
                  "R\xE9ponse indicielle\n"
                  "Valeur finale : 50.00 % (moyenne des 26 derniers points ; consigne 50.00 %, d\xE9part 0.00 %)\n"
                  "D\xE9passement : 10.0 % de l'\xE9" "chelon de consigne (maximum 54.99 %, valeur finale 50.00 %)\n")),
              std::string::npos)
        << Text();
}

TEST_F(Report, EachElementsSummaryIsRenderedFromItsMarkupWithItsAccents)
{
    const std::string text = Text();
    EXPECT_NE(
        text.find(Utf8("R\xE9glages des \xE9l\xE9ments\nBanc\nCde independantes:\nPompe = 0.00 %\n"
                       "R\xE9gulateur\nCorrecteur: PID\nK1 = 2.00\nTi = 20.00 s\nTd = 6.50 s\na = 8.00\n"
                       "d\xE9riv\xE9" "e sur \xE9" "cart\nK2 = 1.000\nProcessus:\n"
                       "Consigne\nConsigne:\nEchelon\nValeur Repos =\n0%\nVal. C =\n50.00 %\nRetard =\n0.400 s\n")),
        std::string::npos)
        << text;
    // The style escapes are obeyed, never printed.
    EXPECT_EQ(text.find('\\'), std::string::npos);
}

TEST_F(Report, IdentificationAndTuningTablesComeFromTheStoredResults)
{
    const std::string text = Text(true);
    // Gain to 3 digits, times to the 0.5 s points, residual to 2 digits, the explained share in percent.
    EXPECT_NE(text.find(Utf8("Mod\xE8le Gain Constante Retard Ordre R\xE9sidu Expliqu\xE9\n"
                             "Moindres carr\xE9s 0,800 %/% 12,5 s 1,5 s 1 0,43 % 98,7 %\n"
                             "Bro\xEF" "da 0,810 %/% 12,0 s 2,0 s 1 - -\n")),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(Utf8("R\xE8gle Type Kp Ti Td Kf Ks D\xE9passement Mont\xE9" "e \xC9tablissement\n"
                             "imc PI 1,25 12,5 s - - 1 4,3 % 8,5 s 20,0 s\n")),
              std::string::npos)
        << text;
}

TEST_F(Report, WithoutLabWorkThereIsNoTable)
{
    m_run.stored.resultsJson = R"({"periode_s": 0.5, "resume": {"verdict": "etablie"}})";
    const std::string text = Text();
    EXPECT_EQ(text.find("Identification"), std::string::npos);
    EXPECT_EQ(text.find(Utf8("R\xE9glages sugg\xE9r\xE9s")), std::string::npos);
    EXPECT_NE(text.find(Utf8("Commentaire\n")), std::string::npos);
}

TEST_F(Report, TheCommentKeepsEveryCharacterTheRendererWouldDrop)
{
    EXPECT_NE(Text().find(Utf8("Commentaire\nTr\xE8s bonne r\xE9ponse ; d\xE9passement \xE0 r\xE9" "duire !\n")),
              std::string::npos);
}

TEST_F(Report, PagesAreA4NumberedWithTheirFontsEmbedded)
{
    const std::string pdf = Pdf();
    const std::string info = Words(ToolOutput("pdfinfo", {QString::fromStdString(pdf)}));
    EXPECT_NE(info.find("Pages: 3\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size: 595 x 842 pts (A4)\n"), std::string::npos) << info;
    EXPECT_NE(info.find(Utf8("Title: Essai n\xB0 12 - Niveau d'eau, r\xE9gulation PID\n")), std::string::npos) << info;
    const std::string text = Text();
    for (const char* page : {"page 1 / 3", "page 2 / 3", "page 3 / 3"})
        EXPECT_NE(text.find(Utf8("tarvic-banc - Essai n\xB0 12 du 2026-12-08 15:04:05\n") + page), std::string::npos)
            << page;
    // Every face is in the file: the font table's "emb" column says yes on every row.
    const std::string fonts = ToolOutput("pdffonts", {QString::fromStdString(pdf)});
    std::istringstream rows(fonts);
    std::string row;
    int faces = 0;
    for (int line = 0; std::getline(rows, row); ++line) {
        if (line < 2) continue;  // the header and its rule
        ++faces;
        EXPECT_TRUE(
            std::regex_search(row, std::regex(" (Type 1C|CID TrueType|TrueType|Type 1|CID Type 0C) +[A-Za-z-]+ +yes ")))
            << row;
    }
    EXPECT_GE(faces, 2);  // the serif face and its bold
}

TEST_F(Report, AnUnwritablePathIsRefusedInFrenchAndAnArchiveIsNeverReplaced)
{
    const std::string absent = m_folder.File("absent/rapport.pdf");
    EXPECT_EQ(WriteTo(absent), "Impossible d'\xE9" "crire le rapport " + absent + " : dossier introuvable.");
    const std::string archive = m_folder.File("essai.tbc");
    ASSERT_EQ(SaveArchive(archive, m_run.loaded.settings, m_run.loaded.elements), "");
    const std::string before = banc::test::ReadFile(archive);
    EXPECT_EQ(WriteTo(archive), ArchiveKept(archive));
    EXPECT_NE(ArchiveKept(archive), "");
    EXPECT_EQ(banc::test::ReadFile(archive), before);
}

namespace {

// A4 at 144 dpi: the page's units begin 15 mm in, 800 of them over 180 mm.
constexpr double kDpi = 144, kMarginPixels = 15 / 25.4 * kDpi, kPixelsPerUnit = 180 / 25.4 * kDpi / report::kPageWidth;

// A pixel of about this colour within two pixels of the point.
bool ColourNear(const QImage& page, double x, double y, QColor colour)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QColor pixel = page.pixelColor(static_cast<int>(x) + dx, static_cast<int>(y) + dy);
            if (std::abs(pixel.red() - colour.red()) <= 64 && std::abs(pixel.green() - colour.green()) <= 64 &&
                std::abs(pixel.blue() - colour.blue()) <= 64)
                return true;
        }
    return false;
}

}  // namespace

TEST_F(Report, ThePlotsCurvesHaveTheirColoursAtTheirPointsAndTheirDashesForGrey)
{
    // Where the plot stands: its page and its top there.
    const report::Document document = report::Measured(
        [&](CDC& dc) { return report::RunDocument(dc, m_run.stored, m_run.loaded.settings, m_run.loaded.elements); });
    const std::vector<report::Page> pages = report::LayOut(document.blocks);
    int pageNumber = 0, top = -1;
    for (std::size_t p = 0; p < pages.size() && top < 0; ++p)
        for (const report::PlacedBlock& placed : pages[p])
            if (placed.block->height == report::kRunPlotFrame.height) {
                pageNumber = static_cast<int>(p) + 1;
                top = placed.top;
            }
    ASSERT_EQ(pageNumber, 2);
    const std::string png = m_folder.File("page");
    ToolOutput("pdftoppm", {"-r", QString::number(kDpi), "-f", "2", "-l", "2", "-singlefile", "-png",
                            QString::fromStdString(Pdf()), QString::fromStdString(png)});
    const QImage page(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(page.isNull());
    // In the plot's frame: 0 to 100 % over rows 400 to 50 (3.5 a percent), the 128 points over columns 70 to 730.
    const auto at = [&](int column, int row, QColor colour) {
        return ColourNear(page, kMarginPixels + column * kPixelsPerUnit, kMarginPixels + (top + row) * kPixelsPerUnit,
                          colour);
    };
    // Along a row, from one column to another: whether any pixel near it is of the colour.
    const auto along = [&](int from, int to, int row, QColor colour) {
        for (int column = from; column <= to; ++column)
            if (at(column, row, colour)) return true;
        return false;
    };
    // Paper right on the row, between two columns: a gap that a solid line would not leave.
    const auto gap = [&](int from, int to, int row) {
        const int y = static_cast<int>(kMarginPixels + (top + row) * kPixelsPerUnit + 0.5);
        for (int column = from; column <= to; ++column)
            if (page.pixelColor(static_cast<int>(kMarginPixels + column * kPixelsPerUnit + 0.5), y).lightness() > 240)
                return true;
        return false;
    };
    const QColor blue(0, 0, 255), green(0, 128, 0), red(255, 0, 0);
    // The measurement, solid: at 25 % (row 312) at point 8 (column 111), at 54.99 % (row 207) at point 18 (column 162).
    EXPECT_TRUE(at(111, 312, blue));
    EXPECT_TRUE(at(162, 207, blue));
    // The setpoint at 50 % (row 225) while the measurement rises below it, points 0 to 12 (columns 70 to 131):
    // green dashes, the paper between them.
    EXPECT_TRUE(along(72, 131, 225, green));
    EXPECT_TRUE(gap(72, 131, 225));
    // The command at 25 % (row 312) from point 40 (column 276) on, dotted red.
    EXPECT_TRUE(along(276, 700, 312, red));
    EXPECT_TRUE(gap(276, 700, 312));
    // The measurement, solid, leaves none: at 50 % from point 20 (column 173) on, under the setpoint's dashes.
    EXPECT_FALSE(gap(176, 700, 225));
    // Between them, none of the curves.
    for (const QColor& colour : {blue, green, red}) EXPECT_FALSE(at(400, 270, colour)) << colour.name().toStdString();
}

TEST(ReportLayout, AHeadingGoesToTheNextPageWithTheBlockItHeads)
{
    const auto block = [](int height, bool keep = false) { return report::Block{height, {}, keep, keep ? 6 : 0}; };
    const std::vector<report::Block> blocks{block(600), block(40, true), block(600),
                                            block(100), block(390),      block(700)};
    const std::vector<report::Page> pages = report::LayOut(blocks);
    ASSERT_EQ(pages.size(), 3u);
    // 600 + 40 + 6 + 600 is more than the 1140 of a page: the heading and its block go on together;
    // 646 + 100 + 390 still fit under them, 700 more do not.
    ASSERT_EQ(pages[0].size(), 1u);
    EXPECT_EQ(pages[0][0].top, 0);
    ASSERT_EQ(pages[1].size(), 4u);
    EXPECT_EQ(pages[1][0].top, 0);
    EXPECT_EQ(pages[1][1].top, 46);
    EXPECT_EQ(pages[1][2].top, 646);
    EXPECT_EQ(pages[1][3].top, 746);
    ASSERT_EQ(pages[2].size(), 1u);
    EXPECT_EQ(pages[2][0].block, &blocks[5]);
}

namespace {

// A slower run: 1.5625 % a point, 50 % from point 32 on, never above.
float SlowMeasure(int i) { return i < 32 ? 1.5625f * static_cast<float>(i) : 50.0f; }

}  // namespace

TEST_F(Report, AComparisonNamesEachRunOverlaysThemAndSetsTheirFiguresSideBySide)
{
    std::vector<ComparedRun> runs(2);
    for (ComparedRun& run : runs) {
        run.stored = m_run.stored;
        ASSERT_EQ(LoadArchiveBytes(ArchiveBytes(m_run.loaded.settings, m_run.loaded.elements), "l'essai", run.loaded),
                  "");
    }
    runs[1].stored.number = 15;
    runs[1].stored.user = "Lo\xEF" "c";
    runs[1].stored.comment = "";
    runs[1].loaded.elements.recording->SetStart(true);
    Record(runs[1].loaded.elements, SlowMeasure);
    const std::string path = m_folder.File("comparaison.pdf");
    ASSERT_EQ(report::WriteComparisonReport(path, runs), "");
    const std::string text = PdfText(path, true);
    EXPECT_NE(
        text.find(Utf8("Comparaison des essais 12, 15\n"
                       "Essai n\xB0 12 Niveau d'eau, r\xE9gulation PID, 2026-12-08 15:04:05, \xC9lodie Lef\xE8vre ; "
                       "PID Kp 2 Ti 20 s, \xE9" "chelon 0 -> 50 % ; complet\n"
                       "Essai n\xB0 15 Niveau d'eau, r\xE9gulation PID, 2026-12-08 15:04:05, Lo\xEF" "c ; "
                       "PID Kp 2 Ti 20 s, \xE9" "chelon 0 -> 50 % ; complet\n"
                       "Courbes superpos\xE9" "es\n")),
        std::string::npos)
        << text;
    // 10 % over the step for the first, none for the second.
    // From 10 to 90 % of the 50 % step: points 1.6 to 14.4 and 3.2 to 28.8, 0.5 s apart.
    EXPECT_NE(text.find(Utf8("D\xE9passement 10.0 % 0.0 %\nTemps de mont\xE9" "e (10 \xE0 90 %) 6.4 s 12.8 s\n")),
              std::string::npos)
        << text;
    EXPECT_NE(
        text.find(Utf8("Commentaire de l'essai 12\nTr\xE8s bonne r\xE9ponse ; d\xE9passement \xE0 r\xE9" "duire !\n")),
        std::string::npos);
    EXPECT_EQ(text.find("Commentaire de l'essai 15"), std::string::npos);
    EXPECT_NE(text.find("page 1 / 1"), std::string::npos);
}
