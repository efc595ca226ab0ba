#include "net/PayloadJson.h"

#include <gtest/gtest.h>

#include <string>

namespace net {
namespace {

const std::string kTime = "2026-12-08T15:04:05.123Z";

PosteState RunningBench()
{
    PosteState state;
    state.kind = PosteKind::Bench;
    state.name = "niveaueau";
    state.mode = "pid";
    state.activity = PosteActivity::Running;
    state.card = "cardsim (carte simul\xE9" "e)";
    state.program = "tarvic-banc";
    state.version = "1.0.0";
    state.user = "\xE9lodie";
    state.time = kTime;
    return state;
}

RunEnd FinishedRun()
{
    RunEnd run;
    run.number = 12;
    run.startedAt = "2026-12-08T15:02:05.000Z";
    run.time = kTime;
    run.user = "alice";
    run.bench = "niveaueau";
    run.mode = "pid";
    run.settings = "PID K1= 2.00 ; Echelon, Val. C =50.00 %";
    run.outcome = "complet";
    run.finalValue = 20.5;
    run.overshootPct = 4.25;
    run.measureUnit = "cm";
    run.resultsJson = "{\n  \"banc\": \"niveaueau\",\n  \"complet\": true\n}\n";
    run.archive = std::string("ABC\0\xFF", 5);
    return run;
}

TEST(PayloadJsonWriting, StateHasEveryFieldInItsOrderInUtf8)
{
    EXPECT_EQ(ToJson(RunningBench()),
              "{\"schema\":1,\"type\":\"banc\",\"nom\":\"niveaueau\",\"mode\":\"pid\",\"etat\":\"essai\","
              "\"carte\":\"cardsim (carte simul\xC3\xA9" "e)\",\"programme\":\"tarvic-banc\",\"version\":\"1.0.0\","
              "\"utilisateur\":\"\xC3\xA9lodie\",\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
}

TEST(PayloadJsonWriting, StationStateAndEveryActivityWord)
{
    PosteState state;
    state.kind = PosteKind::Station;
    state.name = "Varnok";
    state.program = "Varnok";
    state.time = kTime;
    const char* words[] = {"libre", "essai", "arret", "hors-ligne"};
    const PosteActivity activities[] = {PosteActivity::Free, PosteActivity::Running, PosteActivity::Stopped,
                                        PosteActivity::Offline};
    for (int i = 0; i < 4; ++i) {
        state.activity = activities[i];
        EXPECT_EQ(ToJson(state), std::string("{\"schema\":1,\"type\":\"station\",\"nom\":\"Varnok\",\"mode\":\"\",") +
                                     "\"etat\":\"" + words[i] +
                                     "\",\"carte\":\"\",\"programme\":\"Varnok\",\"version\":\"\","
                                     "\"utilisateur\":\"\",\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
    }
}

TEST(PayloadJsonWriting, MeasuresListEachValueWithItsUnit)
{
    Measures measures;
    measures.values = {
        {"Consigne", 20.0, "cm"}, {"Niveau", 18.5, "cm"}, {"Commande", 42.25, "%"}, {"D\xE9" "bit", -0.125, "l/min"}};
    measures.time = kTime;
    EXPECT_EQ(ToJson(measures),
              "{\"schema\":1,\"valeurs\":[{\"nom\":\"Consigne\",\"valeur\":20.0,\"unite\":\"cm\"},"
              "{\"nom\":\"Niveau\",\"valeur\":18.5,\"unite\":\"cm\"},"
              "{\"nom\":\"Commande\",\"valeur\":42.25,\"unite\":\"%\"},"
              "{\"nom\":\"D\xC3\xA9" "bit\",\"valeur\":-0.125,\"unite\":\"l/min\"}],"
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
}

TEST(PayloadJsonWriting, RunEndEmbedsTheResultsAndTheArchiveInBase64)
{
    EXPECT_EQ(ToJson(FinishedRun()),
              "{\"schema\":1,\"numero\":12,\"debut\":\"2026-12-08T15:02:05.000Z\","
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\",\"utilisateur\":\"alice\",\"banc\":\"niveaueau\","
              "\"mode\":\"pid\",\"reglages\":\"PID K1= 2.00 ; Echelon, Val. C =50.00 %\",\"issue\":\"complet\","
              "\"message\":\"\",\"valeur_finale\":20.5,\"depassement_pct\":4.25,\"unite_mesure\":\"cm\","
              "\"resultats\":{\"banc\":\"niveaueau\",\"complet\":true},\"archive\":\"QUJDAP8=\"}");
}

TEST(PayloadJsonWriting, RunEndWithoutFiguresOrResultsWritesNull)
{
    RunEnd run = FinishedRun();
    run.number = 0;
    run.outcome = "d\xE9" "faut de carte";
    run.outcomeText = "La carte ne r\xE9pond plus.";
    run.finalValue.reset();
    run.overshootPct.reset();
    run.resultsJson.clear();
    run.archive.clear();
    EXPECT_EQ(ToJson(run),
              "{\"schema\":1,\"numero\":0,\"debut\":\"2026-12-08T15:02:05.000Z\","
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\",\"utilisateur\":\"alice\",\"banc\":\"niveaueau\","
              "\"mode\":\"pid\",\"reglages\":\"PID K1= 2.00 ; Echelon, Val. C =50.00 %\","
              "\"issue\":\"d\xC3\xA9" "faut de carte\",\"message\":\"La carte ne r\xC3\xA9pond plus.\","
              "\"valeur_finale\":null,\"depassement_pct\":null,\"unite_mesure\":\"cm\",\"resultats\":null,"
              "\"archive\":\"\"}");
}

TEST(PayloadJsonWriting, StationBitsAsArraysOfBytes)
{
    StationBits bits{{5, 128, 255}, {1, 0}, "Carte : VARNOK", kTime};
    EXPECT_EQ(ToJson(bits),
              "{\"schema\":1,\"entrees\":[5,128,255],\"sorties\":[1,0],\"texte\":\"Carte : VARNOK\","
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
}

TEST(PayloadJsonWriting, OrdersCarryATextOnlyForAMessage)
{
    EXPECT_EQ(ToJson(Order{Order::Kind::Stop, "", kTime}),
              "{\"schema\":1,\"ordre\":\"arreter\",\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
    EXPECT_EQ(ToJson(Order{Order::Kind::Message, "Rangez, la s\xE9" "ance finit.", kTime}),
              "{\"schema\":1,\"ordre\":\"message\",\"texte\":\"Rangez, la s\xC3\xA9" "ance finit.\","
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
}

TEST(PayloadJsonReading, EveryPayloadReadsBackAsWritten)
{
    PosteState state;
    ASSERT_EQ(FromJson(ToJson(RunningBench()), state), "");
    EXPECT_EQ(state.kind, PosteKind::Bench);
    EXPECT_EQ(state.name, "niveaueau");
    EXPECT_EQ(state.mode, "pid");
    EXPECT_EQ(state.activity, PosteActivity::Running);
    EXPECT_EQ(state.card, "cardsim (carte simul\xE9" "e)");
    EXPECT_EQ(state.program, "tarvic-banc");
    EXPECT_EQ(state.version, "1.0.0");
    EXPECT_EQ(state.user, "\xE9lodie");
    EXPECT_EQ(state.time, kTime);

    RunEnd run;
    const RunEnd sent = FinishedRun();
    ASSERT_EQ(FromJson(ToJson(sent), run), "");
    EXPECT_EQ(run.number, 12);
    EXPECT_EQ(run.startedAt, sent.startedAt);
    EXPECT_EQ(run.settings, sent.settings);
    EXPECT_EQ(run.finalValue, 20.5);
    EXPECT_EQ(run.overshootPct, 4.25);
    EXPECT_EQ(run.resultsJson, sent.resultsJson);
    EXPECT_EQ(run.archive, sent.archive);

    StationBits bits;
    ASSERT_EQ(FromJson(ToJson(StationBits{{5, 255}, {}, "Pr\xEAt", kTime}), bits), "");
    EXPECT_EQ(bits.inputs, (std::vector<std::uint8_t>{5, 255}));
    EXPECT_TRUE(bits.outputs.empty());
    EXPECT_EQ(bits.stateText, "Pr\xEAt");

    Measures measures;
    ASSERT_EQ(FromJson(ToJson(Measures{{{"Niveau", 18.5, "cm"}}, kTime}), measures), "");
    ASSERT_EQ(measures.values.size(), 1u);
    EXPECT_EQ(measures.values[0].name, "Niveau");
    EXPECT_EQ(measures.values[0].value, 18.5);
    EXPECT_EQ(measures.values[0].unit, "cm");
}

TEST(PayloadJsonReading, NullFiguresAndResultsReadAsAbsent)
{
    RunEnd sent = FinishedRun();
    sent.finalValue.reset();
    sent.overshootPct.reset();
    sent.resultsJson.clear();
    RunEnd run;
    ASSERT_EQ(FromJson(ToJson(sent), run), "");
    EXPECT_FALSE(run.finalValue.has_value());
    EXPECT_FALSE(run.overshootPct.has_value());
    EXPECT_EQ(run.resultsJson, "");
}

TEST(PayloadJsonReading, EveryLatin1CharacterRoundTrips)
{
    std::string all;
    for (int c = 0x20; c <= 0xFF; ++c) all += static_cast<char>(c);
    Order order;
    ASSERT_EQ(FromJson(ToJson(Order{Order::Kind::Message, all, ""}), order), "");
    EXPECT_EQ(order.text, all);
}

TEST(PayloadJsonReading, CharactersBeyondLatin1BecomeQuestionMarks)
{
    Order order;
    // "Prix : 5 <euro>, fin <check mark> <smiling face> \xE0": three characters beyond Latin-1, one within.
    ASSERT_EQ(
        FromJson(
            "{\"schema\":1,\"ordre\":\"message\",\"texte\":\"Prix : 5 \xE2\x82\xAC, fin \xE2\x9C\x93 \xF0\x9F\x98\x80 \xC3\xA0\"}",
            order),
        "");
    EXPECT_EQ(order.text, "Prix : 5 ?, fin ? ? \xE0");
}

TEST(PayloadJsonReading, EscapedCharactersAreTakenAsWritten)
{
    Order order;
    ASSERT_EQ(FromJson(R"({"schema":1,"ordre":"message","texte":"\u00e9t\u00e9 \"chaud\""})", order), "");
    EXPECT_EQ(order.text, "\xE9t\xE9 \"chaud\"");
    EXPECT_EQ(order.kind, Order::Kind::Message);
    EXPECT_EQ(order.time, "");
}

TEST(PayloadJsonReading, AnOrderTypedByHandNeedsNoTimeStamp)
{
    Order order{Order::Kind::Message, "avant", "avant"};
    ASSERT_EQ(FromJson(R"({"schema":1,"ordre":"arreter"})", order), "");
    EXPECT_EQ(order.kind, Order::Kind::Stop);
    EXPECT_EQ(order.text, "");
    EXPECT_EQ(order.time, "");
}

// Each refusal gives its reason and leaves what the caller held untouched.
struct Refusal {
    const char* payload;
    const char* why;
};

class RefusedOrder : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedOrder, GivesWhyAndChangesNothing)
{
    Order order{Order::Kind::Message, "avant", kTime};
    EXPECT_EQ(FromJson(GetParam().payload, order), GetParam().why);
    EXPECT_EQ(order.kind, Order::Kind::Message);
    EXPECT_EQ(order.text, "avant");
    EXPECT_EQ(order.time, kTime);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, RefusedOrder,
    ::testing::Values(
        Refusal{"", "ce n'est pas du JSON (UTF-8)"},
        Refusal{"{\"schema\":1,\"ordre\":\"arreter\"", "ce n'est pas du JSON (UTF-8)"},
        Refusal{"arreter", "ce n'est pas du JSON (UTF-8)"},
        Refusal{"{\"schema\":1,\"ordre\":\"message\",\"texte\":\"\xE9t\xE9\"}", "ce n'est pas du JSON (UTF-8)"},
        Refusal{"[{\"schema\":1,\"ordre\":\"arreter\"}]", "ce n'est pas un objet JSON"},
        Refusal{"\"arreter\"", "ce n'est pas un objet JSON"},
        Refusal{"{\"ordre\":\"arreter\"}", "champ \"schema\" absent"},
        Refusal{"{\"schema\":\"1\",\"ordre\":\"arreter\"}", "champ \"schema\" : un entier attendu"},
        Refusal{"{\"schema\":2,\"ordre\":\"arreter\"}", "sch\xE9ma 2 inconnu (version 1 attendue)"},
        Refusal{"{\"schema\":1}", "champ \"ordre\" absent"},
        Refusal{"{\"schema\":1,\"ordre\":1}", "champ \"ordre\" : un texte attendu"},
        Refusal{"{\"schema\":1,\"ordre\":\"ecrire\"}", "champ \"ordre\" : l'un de arreter, message attendu"},
        Refusal{"{\"schema\":1,\"ordre\":\"arreter\",\"sortie\":255}",
                "champ \"sortie\" inconnu : refus\xE9 par prudence"},
        Refusal{"{\"schema\":1,\"ordre\":\"arreter\",\"texte\":\"vite\"}",
                "champ \"texte\" inconnu : refus\xE9 par prudence"},
        Refusal{"{\"schema\":1,\"ordre\":\"message\",\"texte\":\"x\",\"fichier\":\"/etc/passwd\"}",
                "champ \"fichier\" inconnu : refus\xE9 par prudence"},
        Refusal{"{\"schema\":1,\"ordre\":\"message\"}", "champ \"texte\" absent"},
        Refusal{"{\"schema\":1,\"ordre\":\"message\",\"texte\":[\"x\"]}", "champ \"texte\" : un texte attendu"},
        Refusal{"{\"schema\":1,\"ordre\":\"message\",\"texte\":\"\"}", "champ \"texte\" : un texte non vide attendu"},
        Refusal{"{\"schema\":1,\"ordre\":\"arreter\",\"horodatage\":\"2026-12-08 15:04:05\"}",
                "champ \"horodatage\" : un horodatage UTC avec millisecondes (\"2026-12-08T15:04:05.123Z\") attendu"},
        Refusal{"{\"schema\":1,\"ordre\":\"arreter\",\"horodatage\":\"2026-13-08T15:04:05.123Z\"}",
                "champ \"horodatage\" : un horodatage UTC avec millisecondes (\"2026-12-08T15:04:05.123Z\") attendu"},
        Refusal{"{\"schema\":1,\"ordre\":\"arreter\",\"horodatage\":1765206245}",
                "champ \"horodatage\" : un horodatage attendu"}));

TEST(PayloadJsonRefusal, AMessageOfMoreThanAThousandCharacters)
{
    Order order;
    const std::string longest(kMaxMessageChars, '\xE9');
    ASSERT_EQ(FromJson(ToJson(Order{Order::Kind::Message, longest, ""}), order), "");
    EXPECT_EQ(order.text, longest);
    EXPECT_EQ(FromJson(ToJson(Order{Order::Kind::Message, longest + "x", ""}), order),
              "champ \"texte\" : un texte d'au plus 1000 caract\xE8res attendu");
    EXPECT_EQ(order.text, longest);
}

TEST(PayloadJsonRefusal, APayloadBeyondTheBoundIsNotEvenParsed)
{
    Measures measures{{{"Niveau", 1, "cm"}}, kTime};
    std::string payload = ToJson(Measures{{{"Niveau", 2, "cm"}}, kTime});
    payload.append(kMaxPayloadBytes - payload.size(), ' ');
    EXPECT_EQ(FromJson(payload, measures), "");
    EXPECT_EQ(measures.values[0].value, 2);
    payload += ' ';
    EXPECT_EQ(FromJson(payload, measures), "message de 4194305 octets, plus que les 4194304 admis");
    EXPECT_EQ(measures.values[0].value, 2);
}

TEST(PayloadJsonRefusal, StateFieldsMissingWrongOrUnknownWord)
{
    PosteState state = RunningBench();
    EXPECT_EQ(FromJson(R"({"schema":1,"type":"banc"})", state), "champ \"nom\" absent");
    EXPECT_EQ(FromJson(R"({"schema":1,"type":"pupitre"})", state), "champ \"type\" : l'un de banc, station attendu");
    std::string payload = ToJson(RunningBench());
    payload.replace(payload.find("\"essai\""), 7, "\"en panne\"");
    EXPECT_EQ(FromJson(payload, state), "champ \"etat\" : l'un de libre, essai, arret, hors-ligne attendu");
    payload = ToJson(RunningBench());
    payload.replace(payload.find("\"pid\""), 5, "null");
    EXPECT_EQ(FromJson(payload, state), "champ \"mode\" : un texte attendu");
    EXPECT_EQ(state.activity, PosteActivity::Running);
    EXPECT_EQ(state.mode, "pid");
}

TEST(PayloadJsonRefusal, StateIgnoresAFieldItDoesNotKnow)
{
    std::string payload = ToJson(RunningBench());
    payload.insert(payload.size() - 1, ",\"salle_de_cours\":\"B12\"");
    PosteState state;
    EXPECT_EQ(FromJson(payload, state), "");
    EXPECT_EQ(state.name, "niveaueau");
}

TEST(PayloadJsonRefusal, MeasuresWithAWrongEntry)
{
    Measures measures;
    EXPECT_EQ(FromJson(R"({"schema":1,"valeurs":{},"horodatage":"2026-12-08T15:04:05.123Z"})", measures),
              "champ \"valeurs\" : un tableau attendu");
    EXPECT_EQ(FromJson(R"({"schema":1,"valeurs":[{"nom":"a","valeur":1,"unite":"cm"},3],)"
                       R"("horodatage":"2026-12-08T15:04:05.123Z"})",
                       measures),
              "champ \"valeurs[1]\" : un objet attendu");
    EXPECT_EQ(FromJson(R"({"schema":1,"valeurs":[{"nom":"a","valeur":"12,5","unite":"cm"}],)"
                       R"("horodatage":"2026-12-08T15:04:05.123Z"})",
                       measures),
              "champ \"valeurs[0].valeur\" : un nombre attendu");
    EXPECT_EQ(FromJson(R"({"schema":1,"valeurs":[{"nom":"a","valeur":1}],"horodatage":"2026-12-08T15:04:05.123Z"})",
                       measures),
              "champ \"valeurs[0].unite\" absent");
    EXPECT_EQ(FromJson(R"({"schema":1,"valeurs":[]})", measures), "champ \"horodatage\" absent");
    EXPECT_TRUE(measures.values.empty());
}

TEST(PayloadJsonRefusal, RunEndWithABadArchiveOrFigure)
{
    const std::string good = ToJson(FinishedRun());
    RunEnd run;
    std::string payload = good;
    payload.replace(payload.find("QUJDAP8="), 8, "QUJD=P8=");
    EXPECT_EQ(FromJson(payload, run), "champ \"archive\" : du base64 attendu");
    payload = good;
    payload.replace(payload.find("QUJDAP8="), 8, "QUJDAP8");
    EXPECT_EQ(FromJson(payload, run), "champ \"archive\" : du base64 attendu");
    payload = good;
    payload.replace(payload.find("\"complet\""), 9, "\"fini\"");
    EXPECT_EQ(FromJson(payload, run), "champ \"issue\" : l'un de complet, interrompu, d\xE9" "faut de carte attendu");
    payload = good;
    payload.replace(payload.find("20.5"), 4, "\"20.5\"");
    EXPECT_EQ(FromJson(payload, run), "champ \"valeur_finale\" : un nombre ou null attendu");
    payload = good;
    payload.replace(payload.find("12,"), 3, "12.5,");
    EXPECT_EQ(FromJson(payload, run), "champ \"numero\" : un entier attendu");
    payload = good;
    const std::string results = "{\"banc\":\"niveaueau\",\"complet\":true}";
    payload.replace(payload.find(results), results.size(), "[]");
    EXPECT_EQ(FromJson(payload, run), "champ \"resultats\" : un objet ou null attendu");
    EXPECT_EQ(run.number, 0);
    EXPECT_EQ(run.archive, "");
}

TEST(PayloadJsonRefusal, StationBytesOutOfRange)
{
    StationBits bits;
    EXPECT_EQ(
        FromJson(R"({"schema":1,"entrees":[1,256],"sorties":[],"texte":"","horodatage":"2026-12-08T15:04:05.123Z"})",
                 bits),
        "champ \"entrees\" : un tableau d'entiers de 0 \xE0 255 attendu");
    EXPECT_EQ(FromJson(R"({"schema":1,"entrees":[],"sorties":[-1],"texte":"","horodatage":"2026-12-08T15:04:05.123Z"})",
                       bits),
              "champ \"sorties\" : un tableau d'entiers de 0 \xE0 255 attendu");
    EXPECT_EQ(
        FromJson(R"({"schema":1,"entrees":[1.5],"sorties":[],"texte":"","horodatage":"2026-12-08T15:04:05.123Z"})",
                 bits),
        "champ \"entrees\" : un tableau d'entiers de 0 \xE0 255 attendu");
    EXPECT_TRUE(bits.inputs.empty());
}

TEST(PayloadJsonTime, NowIsUtcWithMilliseconds)
{
    const std::string now = UtcNow();
    Order order;
    ASSERT_EQ(FromJson("{\"schema\":1,\"ordre\":\"arreter\",\"horodatage\":\"" + now + "\"}", order), "");
    EXPECT_EQ(order.time, now);
}

}  // namespace
}  // namespace net
