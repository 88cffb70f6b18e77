// The sunken frame the number boxes and the About picture are given.
#include "ui/common/winstyle.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace longhand {
namespace {

TEST(SetExStyle, KeepsPlaceAndSizeAndSinksTheFrame) {
    QWidget parent;
    parent.resize(600, 400);
    auto* text = new QTextEdit(&parent);
    auto* plain = new QPlainTextEdit(&parent);
    auto* line = new QLineEdit(&parent);
    auto* label = new QLabel("picture", &parent);
    auto* bare = new QWidget(&parent);
    const QRect places[] = {{56, 40, 497, 103},
                            {56, 147, 497, 103},
                            {8, 8, 489, 25},
                            {10, 300, 131, 172},
                            {300, 300, 50, 50}};
    QWidget* widgets[] = {text, plain, line, label, bare};
    line->setFrame(false);
    for (int i = 0; i < 5; ++i)
        widgets[i]->setGeometry(places[i]);
    parent.show();
    QCoreApplication::processEvents();

    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        setSunkenFrame(widgets[i]);
        QCoreApplication::processEvents();
        EXPECT_EQ(widgets[i]->geometry(), places[i]);
        // Brought to the top of its siblings.
        EXPECT_EQ(parent.children().last(), widgets[i]);
    }
    for (QFrame* frame :
         {static_cast<QFrame*>(text), static_cast<QFrame*>(plain), static_cast<QFrame*>(label)}) {
        EXPECT_EQ(frame->frameShape(), QFrame::StyledPanel);
        EXPECT_EQ(frame->frameShadow(), QFrame::Sunken);
    }
    EXPECT_TRUE(line->hasFrame());
    setSunkenFrame(nullptr);
}

} // namespace
} // namespace longhand
