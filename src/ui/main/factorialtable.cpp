#include "factorialtable.h"

#include "engine/factable.h"
#include "services/settings.h"
#include "store/factorialstore.h"
#include "ui/common/historykeeper.h"
#include "ui/common/outcomes.h"
#include "ui/common/presenter.h"
#include "ui/common/storewords.h"
#include "ui/main/mainwindow.h"

#include <optional>
#include <string>
#include <vector>

namespace longhand {

void generateFactorialTable(MainWindow& window) {
    const std::optional<std::vector<std::string>> built =
        window.runner().run(window.scene(), [](Progress& progress) {
            return factorialTable(kFactorialTableTop, [&](int i, const std::string&) {
                progress.report(static_cast<double>(i) / kFactorialTableTop);
            });
        });
    if (!built) return;
    Presenter& presenter = window.presenter();
    // Completion is told only once the store holds the table.
    FactorialStore store = appFactorialStore();
    const std::optional<FactorialStore::Change> stored =
        runStoreWork(&window.runner(), window.scene(), store,
                     [&](Progress& progress) { return store.storeTable(*built, &progress); });
    if (!stored) return; // cancelled: the store stays as it was
    const FactorialStore::Change& change = *stored;
    for (const StoreNotice& notice : store.notices(change))
        presenter.inform(&window, QString::fromStdString(storeNoticeText(notice)));
    if (change.outcome != FactorialStore::Change::Outcome::Written &&
        change.outcome != FactorialStore::Change::Outcome::Unchanged)
        return;
    followLargestStored(change.largest);
    presenter.inform(&window, QString::fromStdString(readTextEntry(k1to100Key, k1to100Length)));
    // Each factorial of the table is a result of its own in the history.
    std::vector<HistoryRecord> records;
    for (std::size_t i = 0; i < built->size(); ++i)
        records.push_back(
            {"Factorial " + std::to_string(i + 1), (*built)[i], resultNote((*built)[i], false)});
    window.history().recordAll(&window, std::move(records));
}

} // namespace longhand
