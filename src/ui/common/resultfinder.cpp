#include "resultfinder.h"

#include "core/digitsearch.h"
#include "core/filetext.h"
#include "core/lengthline.h"
#include "numberview.h"
#include "presenter.h"

#include <QAction>
#include <algorithm>
#include <charconv>

namespace longhand {

namespace {

QString qstring(const std::string& text) {
    return QString::fromStdString(text);
}

// The typed answer without blanks, tabs, line breaks, underscores and, in a
// digit's number, the commas that group its thousands.
std::string cleaned(const QString& answer, bool dropCommas) {
    std::string text = answer.toStdString();
    dropFileFillers(text);
    if (dropCommas) std::erase(text, ',');
    return text;
}

} // namespace

ResultFinder::ResultFinder(NumberView& view, Presenter& presenter, CalcRunner& runner,
                           std::function<CalcRunner::Scene()> scene)
    : QObject(&view), view_(view), presenter_(presenter), runner_(runner),
      scene_(std::move(scene)) {
    QWidget* window = view.window();
    auto action = [&](const char* text, const QKeySequence& keys, void (ResultFinder::*slot)()) {
        auto* a = new QAction(QString::fromLatin1(text), window);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        window->addAction(a);
        view.addAction(a);
        return a;
    };
    goToAction =
        action("&Go to Digit...", QKeySequence(Qt::CTRL | Qt::Key_G), &ResultFinder::goToDigit);
    findAction = action("&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), &ResultFinder::find);
    findNextAction = action("Find &Next", QKeySequence(Qt::Key_F3), &ResultFinder::findNext);
}

void ResultFinder::goToDigit() {
    const NumberShape& shape = view_.shape();
    const Count digits = shape.digits();
    if (digits == 0) return;
    const std::string range = "1 to " + withThousands(digits);
    const std::optional<QString> answer =
        presenter_.input(view_.window(), qstring("Go to digit (" + range + "):"),
                         QString::number(std::max<Count>(1, shape.digitsBefore(view_.caret()))));
    if (!answer) return;
    const std::string typed = cleaned(*answer, true);
    Count n = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), n);
    if (typed.empty() || error != std::errc() || end != typed.data() + typed.size() || n < 1 ||
        n > digits) {
        presenter_.inform(view_.window(), qstring("Go to takes a digit from " + range + "."));
        return;
    }
    view_.setCaretPosition(shape.positionAfterDigit(n));
    view_.setFocus();
}

void ResultFinder::find() {
    if (view_.text().empty()) return;
    const std::optional<QString> answer =
        presenter_.input(view_.window(), QStringLiteral("Find digits:"), qstring(pattern_));
    if (!answer) return;
    const std::string typed = cleaned(*answer, false);
    if (typed.empty()) return;
    if (typed.find_first_not_of("0123456789.-") != std::string::npos) {
        presenter_.inform(view_.window(), qstring("Find looks for digits, \".\" and \"-\"."));
        return;
    }
    pattern_ = typed;
    search(view_.caretPosition());
}

void ResultFinder::findNext() {
    if (pattern_.empty()) return find();
    if (view_.text().empty()) return;
    search(view_.caretPosition() + 1);
}

void ResultFinder::search(std::int64_t from) {
    const std::string& text = view_.text();
    std::optional<std::optional<Count>> ran = runner_.run(
        scene_(), [&](Progress& progress) { return findDigits(text, pattern_, from, progress); });
    if (!ran) return;
    if (!*ran) {
        presenter_.inform(view_.window(), qstring("\"" + pattern_ + "\" is not in the result."));
        return;
    }
    view_.select(**ran, **ran + static_cast<Count>(pattern_.size()));
    view_.setFocus();
}

} // namespace longhand
