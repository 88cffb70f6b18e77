// The Generate 1! to 100! command of the main window's Option menu.
#pragma once

namespace longhand {

class MainWindow;

// Settings [Text] key and length of the message shown when the table of
// 1! to 100! is stored.
inline constexpr const char* k1to100Key = "1to100";
inline constexpr int k1to100Length = 32;

// Builds the table of 1! to 100! while the main window is held still, puts
// it in the factorial store in place of the records 1 to 100 (larger ones
// stay), lets the largest stored n follow the store and tells when it is
// done. A cancelled run or a store that cannot be written changes nothing
// but what the store says.
void generateFactorialTable(MainWindow& window);

} // namespace longhand
