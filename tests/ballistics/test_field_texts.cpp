// SPDX-License-Identifier: GPL-3.0-or-later

// The table from a window's named values to its fields: texts go both ways,
// a written text shows from its start, and a name the window never bound is
// refused instead of reaching an arbitrary field.
#include "GuiTest.h"
#include "ballistics/FieldTexts.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace korvo {
namespace {

enum class Name { Bound, Other, Unbound };

TEST(FieldTexts, ReadsAndWritesTheBoundFieldsAndRefusesOthers) {
    test::Application();
    QLineEdit bound;
    QLineEdit other;
    bound.resize(40, 18);
    TFieldTexts<Name> fields;
    fields.Bind({{Name::Bound, &bound}, {Name::Other, &other}});

    fields.SetText(Name::Bound, "70.6899748780382");
    EXPECT_EQ(bound.text(), QStringLiteral("70.6899748780382"));
    EXPECT_EQ(bound.cursorPosition(), 0) << "a long text must show its start";
    EXPECT_EQ(other.text(), QString());
    other.setText(QStringLiteral("340"));
    EXPECT_EQ(fields.Text(Name::Other), "340");

    try {
        fields.SetText(Name::Unbound, "0");
        ADD_FAILURE() << "an unbound name was accepted";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "unknown window field");
    }
}

} // namespace
} // namespace korvo
