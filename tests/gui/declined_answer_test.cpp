// Every edge without a person in front of it declines a question the same way, so a flow tested
// against the fake takes the branch the command line and the desktop program take.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/stderr_interaction.h"
#include "gui/dialogs/message_box.h"
#include "support/scripted_interaction.h"

namespace athup {
namespace {

TEST(DeclinedAnswer, EveryNonInteractiveEdgeGivesTheSameSafeAnswer) {
  const struct {
    Buttons buttons;
    Answer expected;
  } cases[] = {
      {Buttons::Ok, Answer::Ok},
      {Buttons::YesNo, Answer::No},
      {Buttons::YesNoCancel, Answer::Cancel},
      {Buttons::OkCancel, Answer::Cancel},
  };
  std::ostringstream err;
  cli::StderrInteraction cli(err);
  testing::ScriptedInteraction fake;
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.buttons));
    EXPECT_EQ(declinedAnswer(c.buttons), c.expected);
    EXPECT_EQ(cli.ask(MessageKind::Warning, "q", "t", c.buttons), c.expected);
    EXPECT_EQ(fake.ask(MessageKind::Warning, "q", "t", c.buttons), c.expected);
    // the window tests' main switches the boxes to answer by themselves
    EXPECT_EQ(gui::MessageBox::show(nullptr, MessageKind::Warning, QStringLiteral("q"),
                                    QStringLiteral("t"), c.buttons),
              c.expected);
  }
  // Nothing is chosen and no secret is given anywhere; the questions stay readable.
  for (Interaction* edge : std::initializer_list<Interaction*>{&cli, &fake}) {
    EXPECT_EQ(edge->chooseFolder("c", "/"), std::nullopt);
    EXPECT_EQ(edge->chooseFile("c", "/", "*.*"), std::nullopt);
    EXPECT_EQ(edge->askSecret("c", "p"), std::nullopt);
  }
  EXPECT_EQ(err.str(), "t: q\nt: q\nt: q\nt: q\n");
  ASSERT_EQ(fake.shown.size(), 4u + 3u);
  EXPECT_EQ(fake.shown[0].what, "question");
}

}  // namespace
}  // namespace athup
