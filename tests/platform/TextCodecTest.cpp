#include "platform/TextCodec.h"

#include <gtest/gtest.h>

TEST(TextCodec, PicksUtf8OrFallsBackToWindows1252)
{
    EXPECT_EQ(TextCodec::decode("\xEF\xBB\xBF" "K\xC3\xB6ln"), QString::fromUtf8("Köln")) << "BOM dropped";
    EXPECT_EQ(TextCodec::decode("K\xF6ln \x84x\x93"), QString::fromUtf8("Köln „x“"));
    EXPECT_EQ(TextCodec::decode("\xC3"), QString::fromUtf8("Ã")) << "a cut UTF-8 sequence is not UTF-8";
}
