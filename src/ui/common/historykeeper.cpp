#include "historykeeper.h"

#include "core/lengthline.h"
#include "core/numbershape.h"
#include "presenter.h"
#include "services/settings.h"

namespace longhand {

HistoryKeeper::HistoryKeeper(std::string folder, Presenter& presenter, QObject* parent)
    : QObject(parent), store_(std::move(folder), readHistoryLimitBytes()), presenter_(presenter),
      keeping_(readKeepHistory()) {}

void HistoryKeeper::setKeeping(bool keep) {
    keeping_ = keep;
    writeKeepHistory(keep);
}

std::string resultNote(const std::string& value, bool cut) {
    return lengthLineText(shapeOf(value), cut, 0);
}

void HistoryKeeper::record(QWidget* window, const std::string& source, const std::string& value,
                           bool cut, std::string note, const CalcRunner::Scene* scene) {
    if (!keeping_ || value.empty()) return;
    const std::int64_t now = historyNow();
    // The note, the copy, the checksum and the file of a long value are
    // made on the runner: for 100,000,000 digits they take most of a second.
    const auto append = [&] {
        if (note.empty()) note = resultNote(value, cut);
        std::vector<HistoryRecord> records;
        records.push_back(HistoryRecord{source, value, std::move(note)});
        return store_.append(records, now);
    };
    const bool aside =
        scene && runner_ && !runner_->isRunning() && value.size() > kHistoryInlineDigits;
    if (!aside) return follow(window, append());
    // A write cannot be stopped halfway: once it has run, Cancel cannot take
    // it back, so what it came to is followed all the same.
    std::optional<HistoryStore::Appended> done;
    runner_->run(*scene, [&](Progress&) {
        done = append();
        return true;
    });
    if (done) follow(window, *done);
}

void HistoryKeeper::recordAll(QWidget* window, std::vector<HistoryRecord> records) {
    if (!keeping_ || records.empty()) return;
    follow(window, store_.append(records, historyNow()));
}

void HistoryKeeper::follow(QWidget* window, const HistoryStore::Appended& done) {
    if (done.outcome == HistoryStore::Outcome::Written) {
        emit changed();
        return;
    }
    if (told_) return;
    told_ = true;
    const char* why = done.outcome == HistoryStore::Outcome::Busy ? kBusy : kUnwritable;
    presenter_.inform(window, QString::fromLatin1(why) + QString::fromStdString(store_.logPath()));
}

bool HistoryKeeper::clear(QWidget* window) {
    if (presenter_.message(window, QString::fromLatin1(kClearQuestion), MsgButtons::YesNo,
                           MsgIcon::Question) != MsgAnswer::Yes)
        return false;
    const HistoryStore::Outcome outcome = store_.clear();
    emit changed();
    if (outcome == HistoryStore::Outcome::Written) return true;
    const char* why = outcome == HistoryStore::Outcome::Busy ? kClearBusy : kUnwritable;
    presenter_.inform(window, QString::fromLatin1(why) + QString::fromStdString(store_.logPath()));
    return false;
}

} // namespace longhand
