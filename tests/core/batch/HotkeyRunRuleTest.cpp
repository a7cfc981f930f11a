#include "core/batch/HotkeyRunRule.h"

#include <gtest/gtest.h>

#include <string>

using namespace portiqa;

// Each script is a sequence of events: N / P a next or previous key, '.' the last step's
// picture on show, 'r' the keys released. `acts` marks which keys stepped the run.
TEST(HotkeyRunRule, KeysStepAtMostOncePerShownPicture) {
    const struct {
        const char* script;
        const char* acts;
    } cases[] = {
        {"NN", "10"},               // back to back: once
        {"N.N", "11"},              // the picture came up in between
        {"NP", "11"},               // a next key right after a previous key always acts
        {"NPNP", "1111"},           //
        {"NNNN.NNN.N", "10001001"}, // a held key: one step per shown picture
        {"NNrN", "101"},            // released hotkeys forget the last direction
    };
    for (const auto& c : cases) {
        HotkeyRunRule rule;
        std::string acts;
        for (const char* e = c.script; *e != '\0'; ++e) {
            if (*e == '.') {
                rule.pictureSettled();
            } else if (*e == 'r') {
                rule.reset();
            } else {
                acts +=
                    rule.keyPressed(*e == 'N' ? HotkeyDirection::Next : HotkeyDirection::Previous)
                        ? '1'
                        : '0';
            }
        }
        EXPECT_EQ(acts, c.acts) << c.script;
    }
}

TEST(HotkeyRunRule, LettersAndDirections) {
    HotkeyDirection d = HotkeyDirection::Previous;
    EXPECT_TRUE(hotkeyDirection('A', &d));
    EXPECT_EQ(d, HotkeyDirection::Next);
    EXPECT_TRUE(hotkeyDirection('S', &d));
    EXPECT_EQ(d, HotkeyDirection::Next);
    EXPECT_TRUE(hotkeyDirection('D', &d));
    EXPECT_EQ(d, HotkeyDirection::Previous);
    EXPECT_TRUE(hotkeyDirection('F', &d));
    EXPECT_EQ(d, HotkeyDirection::Previous);
    EXPECT_FALSE(hotkeyDirection('G', &d));
}
