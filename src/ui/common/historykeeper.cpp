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
                           bool cut, std::string note) {
    if (!keeping_ || value.empty()) return;
    if (note.empty()) note = resultNote(value, cut);
    recordAll(window, {HistoryRecord{source, value, std::move(note)}});
}

void HistoryKeeper::recordAll(QWidget* window, std::vector<HistoryRecord> records) {
    if (!keeping_ || records.empty()) return;
    const HistoryStore::Appended done = store_.append(records, historyNow());
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
