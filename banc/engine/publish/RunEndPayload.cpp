#include "engine/publish/RunEndPayload.h"

#include <time.h>

#include <cstdio>
#include <ctime>

namespace banc::publish {

std::string UtcOfLocal(const std::string& local)
{
    std::tm fields{};
    char end = '\0';
    if (std::sscanf(local.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &fields.tm_year, &fields.tm_mon, &fields.tm_mday,
                    &fields.tm_hour, &fields.tm_min, &fields.tm_sec, &end) != 6)
        return {};
    fields.tm_year -= 1900;
    fields.tm_mon -= 1;
    fields.tm_isdst = -1;  // the local zone says whether summer time held then
    const std::time_t when = std::mktime(&fields);
    std::tm utc{};
    if (when == static_cast<std::time_t>(-1) || !::gmtime_r(&when, &utc)) return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000Z", &utc);
    return text;
}

net::RunEnd RunEndOf(const history::StoredRun& run, const std::string& endedAt)
{
    net::RunEnd end;
    end.number = run.number;
    end.startedAt = UtcOfLocal(run.startedAt);
    end.time = endedAt;
    end.user = run.user;
    end.bench = run.bench;
    end.mode = run.mode;
    end.settings = run.summary;
    end.outcome = history::OutcomeWord(run.outcome);
    end.outcomeText = run.outcomeText;
    end.finalValue = run.finalValue;
    end.overshootPct = run.overshootPct;
    end.measureUnit = run.measureUnit;
    end.resultsJson = run.resultsJson;
    end.archive = run.archive;
    return end;
}

}  // namespace banc::publish
