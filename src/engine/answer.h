// A result that is an answer rather than a number: what isprime says of a
// whole number. The engine names the answer; each program says it in its
// own words (the windows in ui/common/answerwords.h, longhand-calc in
// cli/answerwords.h), and a test checks that both have words for every one.
#pragma once

namespace longhand {

enum class Answer {
    None,                     // the result is a number, the outcome's text
    Prime,                    // proven prime
    ProbablePrime,            // passed the BPSW test, above the bound of the proof
    Composite,                // a product of two smaller whole numbers
    NeitherPrimeNorComposite, // 0, 1 and the negative numbers
    // Every answer above; a new one goes before this line.
    Count
};

inline constexpr int kAnswers = static_cast<int>(Answer::Count);

} // namespace longhand
