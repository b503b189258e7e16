#include "frontend/widgets/select_on_focus.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace frontend {
namespace {

class SelectOnFocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(first);
    layout->addWidget(second);
    first->setText(QStringLiteral("take1.wav"));
    second->setText(QStringLiteral("100.0"));
    selectAllOnFocus(second);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    first->setFocus();
  }

  QWidget form;
  QLineEdit* first = new QLineEdit(&form);
  QLineEdit* second = new QLineEdit(&form);
};

TEST_F(SelectOnFocusTest, TabSelectsTheWholeTextSoThatTypingReplacesIt) {
  QTest::keyClick(first, Qt::Key_Tab);
  ASSERT_TRUE(second->hasFocus());
  EXPECT_EQ(second->selectedText(), QStringLiteral("100.0"));
  EXPECT_EQ(second->cursorPosition(), 0);
  QTest::keyClicks(second, QStringLiteral("94"));
  EXPECT_EQ(second->text(), QStringLiteral("94"));
}

TEST_F(SelectOnFocusTest, AClickSelectsTheWholeTextAndALaterClickPlacesTheCaret) {
  QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(4, second->height() / 2));
  ASSERT_TRUE(second->hasFocus());
  EXPECT_EQ(second->selectedText(), QStringLiteral("100.0"));
  QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(4, second->height() / 2));
  EXPECT_FALSE(second->hasSelectedText());
}

TEST_F(SelectOnFocusTest, FieldsWithoutItKeepQtsBehaviour) {
  second->setFocus();
  QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(4, first->height() / 2));
  ASSERT_TRUE(first->hasFocus());
  EXPECT_FALSE(first->hasSelectedText());
}

}  // namespace
}  // namespace frontend
