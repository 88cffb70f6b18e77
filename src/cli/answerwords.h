// longhand-calc's words for the answers that are not numbers (isprime's).
#pragma once

#include "engine/answer.h"

#include <string>

namespace longhand::cli {

// "prime", "probable prime (BPSW)", "composite" ...; "" for Answer::None.
std::string answerWords(Answer answer);

} // namespace longhand::cli
