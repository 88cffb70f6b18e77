#include "partialcommand.h"

#include "calcrunner.h"
#include "engine/estimate.h"
#include "engine/partialproduct.h"
#include "form1.h"
#include "numberbox.h"
#include "numberview.h"
#include "presenter.h"
#include "services/settings.h"
#include "windowhost.h"

namespace longhand {

std::string instructionPrompt() {
    std::string prompt;
    int paragraph = 1;
    for (int length : kInstructLengths) {
        if (paragraph > 1) prompt += "\r\r";
        prompt += readTextEntry("instruct" + std::to_string(paragraph), length);
        ++paragraph;
    }
    return prompt;
}

void runPartialProduct(Form1& form) {
    Presenter& presenter = form.presenter();
    const QString opening = QString::fromStdString(readTextEntry(kClearKey, kClearLength));
    if (presenter.message(&form, opening, MsgButtons::OkCancel, MsgIcon::Information) !=
        MsgAnswer::Ok) {
        return;
    }
    for (;;) {
        const auto m = presenter.input(&form, QString::fromStdString(instructionPrompt()), {});
        if (!m || m->isEmpty()) return;
        const auto n = presenter.input(&form, QString::fromLatin1(kEnterNumberPrompt) + *m, {});
        if (!n || n->isEmpty()) return;

        const std::string low = m->toStdString();
        const std::string high = n->toStdString();
        if (form.runner().refuseTooLarge(&form, presenter, estimateRangeProduct(low, high)))
            continue;
        std::optional<Outcome> ran =
            form.runner().run(mainWindowScene(form), [&](Progress& progress) {
                return partialProduct(low, high, progress);
            });
        if (!ran) return; // cancelled: everything stays as it was
        Outcome& outcome = *ran;
        const bool shown = form.host().follow(outcome);
        if (outcome.status == Outcome::Status::Refused) continue; // and ask again
        if (!shown) return;
        form.RichTextBox1->setText("");
        form.RichTextBox2->setText("");
        form.RichTextBox3->setText(std::move(outcome.text));
        return;
    }
}

} // namespace longhand
