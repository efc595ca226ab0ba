#include "HistorySupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <vector>

#include "BancTestSupport.h"
#include "engine/history/KeepRun.h"
#include "engine/run/Setup.h"
#include "recording/RecordingSupport.h"
#include "tarvic/platform/MemoryProfile.h"

namespace banc::test {
namespace {

// Rows of the water level bench's recording, as the card fills them.
constexpr int kCommandRow = 0, kMeasureRow = 7, kSetpointRow = 8, kSampleRow = 15;
constexpr int kFullScale = 3264;  // output counts of 100 %

}  // namespace

WaterLevelRun::WaterLevelRun(int blocks, const std::function<float(int)>& measure)
    : settings(MakeSettings("niveaueau", "pid", {{"kp", 2}, {"ti", 20}, {"echelon", 50}}))
{
    settings.duration = blocks * 16;
    EXPECT_EQ(Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error, "");
    std::vector<tarvic::test::Valeurs> values(static_cast<std::size_t>(blocks));
    for (int i = 0; i < blocks * 32; ++i) {
        auto& block = values[static_cast<std::size_t>(i / 32)];
        const int point = i % 32;
        block[kCommandRow][point] = kFullScale;
        block[kMeasureRow][point] =
            static_cast<std::uint16_t>(static_cast<std::int16_t>(measure(i) * kFullScale / 100));
        block[kSetpointRow][point] = kFullScale / 2;
        block[kSampleRow][point] = static_cast<std::uint16_t>(i);
    }
    elements.recording->SetStart(true);
    for (std::size_t b = 0; b < values.size(); ++b)
        elements.recording->TraitRecept(tarvic::test::LigneBloc(static_cast<int>(b), values[b]));
}

history::StoredRun StoredWaterLevelRun(WaterLevelRun& run, const std::string& startedAt, const std::string& summary)
{
    history::StoredRun stored =
        history::MakeStoredRun(run.settings, run.elements, Outcome{}, RunReport{}, {"", "eleve", "", startedAt});
    stored.host = "poste";
    stored.summary = summary;
    return stored;
}

void ExecuteSql(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string QuerySql(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string value;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            if (const unsigned char* text = sqlite3_column_text(statement, 0))
                value = reinterpret_cast<const char*>(text);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

}  // namespace banc::test
