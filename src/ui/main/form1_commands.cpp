// The main window's commands that lead into the function dialog and the
// result-box services: the function menu, the 1! to 100! table, the round
// hint, rounding and Move. Each is connected in form1.cpp.
#include "form1.h"

namespace longhand {

void Form1::onFactorialMenu() {}

void Form1::onPowerMenu() {}

void Form1::onPermutationMenu() {}

void Form1::onCombinationMenu() {}

void Form1::onPartialProductMenu() {}

void Form1::onGenerate100Menu() {}

// A click into the result box: the round hint.
void Form1::onResultClicked() {}

// A click on the round hint: rounding.
void Form1::onLabel1Clicked() {}

// A click on "Move".
void Form1::onLabel2Clicked() {}

} // namespace longhand
