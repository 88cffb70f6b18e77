// The windows' words for the answers that are not numbers (isprime's), as
// the expression window shows and keeps them.
#pragma once

#include "engine/answer.h"

#include <string>

namespace longhand {

// "prime", "probable prime (BPSW)", "composite" ...; "" for Answer::None.
std::string answerText(Answer answer);

} // namespace longhand
