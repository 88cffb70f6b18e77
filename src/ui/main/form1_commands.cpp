// The main window's commands that lead into the function dialog and the
// result-box services: the function menu, the 1! to 100! table, the round
// hint, rounding and Move. Each is connected in form1.cpp.
#include "clicklabel.h"
#include "form1.h"
#include "move.h"
#include "numberview.h"
#include "partialcommand.h"
#include "roundhint.h"
#include "rounding.h"
#include "ui/dialog/dialog.h"

namespace longhand {

void Form1::onFactorialMenu() {
    Dialog::openModal(*this, FunctionMode::Factorial);
}

void Form1::onPowerMenu() {
    Dialog::openModal(*this, FunctionMode::Power);
}

void Form1::onPermutationMenu() {
    Dialog::openModal(*this, FunctionMode::Permutation);
}

void Form1::onCombinationMenu() {
    Dialog::openModal(*this, FunctionMode::Combination);
}

void Form1::onPartialProductMenu() {
    runPartialProduct(*this);
}

void Form1::onGenerate100Menu() {
    generateFactorialTable(*this);
}

// A click into the result box: the round hint.
void Form1::onResultClicked() {
    showRoundHint(RichTextBox3, Label1);
}

// A click on the round hint: rounding.
void Form1::onLabel1Clicked() {
    roundResult(RichTextBox3, Label1);
}

// A click on "Move".
void Form1::onLabel2Clicked() {
    moveResult(RichTextBox3, *this);
}

} // namespace longhand
