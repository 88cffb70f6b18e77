// The partial product command: m(m+1)(m+2)...(n) of two numbers asked for
// in input boxes, shown in the main window's result view.
#pragma once

#include <string>

namespace longhand {

class MainWindow;

// Settings [Text] keys and lengths of the opening message and the five
// paragraphs of the first prompt.
inline constexpr const char* kClearKey = "Clear";
inline constexpr int kClearLength = 128;
inline constexpr int kInstructLengths[] = {47, 49, 75, 51, 79};

// The second prompt: this, then m.
inline constexpr const char* kEnterNumberPrompt = "ENTER NUMBER > ";

// The five "instruct" paragraphs joined by two carriage returns each.
std::string instructionPrompt();

// Asks for m and n until n > m (or the person gives up with Cancel or an
// empty answer), then empties the operand boxes and shows the product.
void runPartialProduct(MainWindow& window);

} // namespace longhand
