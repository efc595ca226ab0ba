#include <gtest/gtest.h>

#include "net/Latin1.h"
#include "net/Topics.h"

namespace net {
namespace {

TEST(TopicTree, EachChannelHasItsTopicUnderRoomAndPlace)
{
    const Poste poste{"B204", "poste07"};
    EXPECT_EQ(Topic(poste, Channel::State), "tarvic/B204/poste07/etat");
    EXPECT_EQ(Topic(poste, Channel::Measures), "tarvic/B204/poste07/mesures");
    EXPECT_EQ(Topic(poste, Channel::Run), "tarvic/B204/poste07/essai");
    EXPECT_EQ(Topic(poste, Channel::Station), "tarvic/B204/poste07/station");
    EXPECT_EQ(Topic(poste, Channel::Order), "tarvic/B204/poste07/ordre");
}

TEST(TopicTree, RoomFilterTakesOneRoomOrEvery)
{
    EXPECT_EQ(RoomFilter("B204"), "tarvic/B204/#");
    EXPECT_EQ(RoomFilter(""), "tarvic/+/#");
}

TEST(TopicTree, AccentedNamesGoOutInUtf8AndComeBackInLatin1)
{
    const Poste poste{"Atelier \xE9" "lectrique", "poste\xE0"};
    const std::string topic = Topic(poste, Channel::State);
    EXPECT_EQ(topic, "tarvic/Atelier \xC3\xA9lectrique/poste\xC3\xA0/etat");
    const auto parsed = ParseTopic(topic);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->poste.salle, "Atelier \xE9lectrique");
    EXPECT_EQ(parsed->poste.poste, "poste\xE0");
    EXPECT_EQ(parsed->channel, Channel::State);
}

TEST(TopicTree, ParsesEveryChannelBack)
{
    for (const Channel channel : {Channel::State, Channel::Measures, Channel::Run, Channel::Station, Channel::Order}) {
        const auto parsed = ParseTopic(Topic({"salle", "poste"}, channel));
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->channel, channel);
        EXPECT_EQ(parsed->poste.salle, "salle");
        EXPECT_EQ(parsed->poste.poste, "poste");
    }
}

TEST(TopicTree, RefusesTopicsThatAreNotOurs)
{
    EXPECT_FALSE(ParseTopic("tarvic/B204/poste07/inconnu"));
    EXPECT_FALSE(ParseTopic("autre/B204/poste07/etat"));
    EXPECT_FALSE(ParseTopic("tarvic/B204/etat"));
    EXPECT_FALSE(ParseTopic("tarvic/B204/poste07/etat/plus"));
    EXPECT_FALSE(ParseTopic("tarvic//poste07/etat"));
    EXPECT_FALSE(ParseTopic("tarvic/B204/poste\xE2\x82\xAC/etat"));  // the euro sign has no Latin-1 byte
    EXPECT_FALSE(ParseTopic("tarvic/B204/poste\xE9/etat"));          // not UTF-8
    EXPECT_FALSE(ParseTopic(""));
}

TEST(PlaceNames, AcceptsPlainAndAccentedNames)
{
    EXPECT_EQ(CheckName("poste07"), "");
    EXPECT_EQ(CheckName("Salle \xE9" "lectrotechnique"), "");
    EXPECT_EQ(CheckName(std::string(64, 'a')), "");
}

TEST(PlaceNames, RefusesWhatWouldBreakTheTopicTree)
{
    const std::string forbidden =
        "le nom ne peut contenir ni \xAB / \xBB, ni \xAB + \xBB, ni \xAB # \xBB, ni caract\xE8re de contr\xF4le.";
    EXPECT_EQ(CheckName(""), "le nom est vide.");
    EXPECT_EQ(CheckName(std::string(65, 'a')), "le nom d\xE9passe 64 caract\xE8res.");
    EXPECT_EQ(CheckName("a/b"), forbidden);
    EXPECT_EQ(CheckName("a+b"), forbidden);
    EXPECT_EQ(CheckName("a#"), forbidden);
    EXPECT_EQ(CheckName("a\nb"), forbidden);
    EXPECT_EQ(CheckName("a\x85"), forbidden);
}

TEST(Latin1Text, RoundTripsEveryByte)
{
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    const auto back = FromUtf8(ToUtf8(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
    EXPECT_EQ(ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
}

TEST(Latin1Text, RefusesWhatLatin1CannotHold)
{
    EXPECT_FALSE(FromUtf8("\xE2\x82\xAC"));  // euro sign
    EXPECT_FALSE(FromUtf8("\xC3"));          // cut short
    EXPECT_FALSE(FromUtf8("\xC3\x28"));      // not a continuation byte
    EXPECT_FALSE(FromUtf8("\xE9"));          // Latin-1 itself
}

}  // namespace
}  // namespace net
