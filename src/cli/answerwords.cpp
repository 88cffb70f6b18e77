#include "answerwords.h"

namespace longhand::cli {

std::string answerWords(Answer answer) {
    switch (answer) {
    case Answer::Prime:
        return "prime";
    case Answer::ProbablePrime:
        return "probable prime (BPSW)";
    case Answer::Composite:
        return "composite";
    case Answer::NeitherPrimeNorComposite:
        return "neither prime nor composite";
    case Answer::None:
    case Answer::Count:
        break;
    }
    return {};
}

} // namespace longhand::cli
