#include "partialproductcommand.h"

#include "engine/estimate.h"
#include "engine/partialproduct.h"
#include "mainwindow.h"
#include "services/settings.h"
#include "ui/common/calcrunner.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/common/presenter.h"

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
        std::optional<PartialProductOutcome> ran =
            window.runner().run(window.scene(), window.host(),
                                [&](EngineHost& host) { return partialProduct(low, high, host); });
        if (!ran) return; // cancelled: everything stays as it was
        PartialProductOutcome& outcome = *ran;
        if (!outcome.refusal.empty()) {
            presenter.inform(&window, QString::fromStdString(outcome.refusal));
            continue;
        }
        if (outcome.product.empty()) return; // given up on the way
        window.firstOperand->setText("");
        window.secondOperand->setText("");
        window.resultView->setText(std::move(outcome.product));
        return;
    }
}

} // namespace longhand
