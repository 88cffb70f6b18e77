#include "partialproductcommand.h"

#include "engine/estimate.h"
#include "engine/partialproduct.h"
#include "mainwindow.h"
#include "services/settings.h"
#include "ui/common/calcrunner.h"
#include "ui/common/historykeeper.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/common/presenter.h"

#include <QPushButton>

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

void runPartialProduct(MainWindow& window) {
    Presenter& presenter = window.presenter();
    const QString opening = QString::fromStdString(readTextEntry(kClearKey, kClearLength));
    if (presenter.message(&window, opening, MsgButtons::OkCancel, MsgIcon::Information) !=
        MsgAnswer::Ok) {
        return;
    }
    for (;;) {
        const auto m = presenter.input(&window, QString::fromStdString(instructionPrompt()), {});
        if (!m || m->isEmpty()) return;
        const auto n = presenter.input(&window, QString::fromLatin1(kEnterNumberPrompt) + *m, {});
        if (!n || n->isEmpty()) return;

        const std::string low = m->toStdString();
        const std::string high = n->toStdString();
        if (window.runner().refuseTooLarge(&window, presenter, estimateRangeProduct(low, high)))
            continue;
        std::optional<Outcome> ran = window.runner().run(window.scene(), [&](Progress& progress) {
            return partialProduct(low, high, progress);
        });
        if (!ran) return; // cancelled: everything stays as it was
        Outcome& outcome = *ran;
        const bool shown =
            followOutcome(outcome, window.context().outcomeWindow(&window, window.stopSoundButton));
        if (outcome.status == Outcome::Status::Refused) continue; // and ask again
        if (!shown) return;
        window.firstOperand->setText("");
        window.secondOperand->setText("");
        window.resultView->setText(std::move(outcome.text));
        const CalcRunner::Scene held = window.scene();
        window.history().record(&window, "Product " + low + " to " + high,
                                window.resultView->text(), false, {}, &held);
        return;
    }
}

} // namespace longhand
