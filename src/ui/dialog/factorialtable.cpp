#include "factorialtable.h"

#include "engine/factable.h"
#include "engine/factorialstore.h"
#include "engine/host.h"
#include "services/settings.h"
#include "ui/common/presenter.h"
#include "ui/main/mainwindow.h"

#include <optional>
#include <string>
#include <vector>

namespace longhand {

void generateFactorialTable(MainWindow& window) {
    const std::optional<std::vector<std::string>> built =
        window.runner().run(window.scene(), window.host(), [](EngineHost& host) {
            return factorialTable(kFactorialTableTop, [&](int i, const std::string&) {
                host.progress(static_cast<double>(i) / kFactorialTableTop);
            });
        });
    if (!built) return;
    Presenter& presenter = window.presenter();
    // Completion is told only once the store holds the table.
    FactorialStore store(window.host().facDataPath());
    const FactorialStore::Change change = store.storeTable(*built);
    for (const std::string& message : store.messages(change))
        presenter.inform(&window, QString::fromStdString(message));
    if (change.outcome != FactorialStore::Change::Outcome::Written &&
        change.outcome != FactorialStore::Change::Outcome::Unchanged)
        return;
    window.host().setFacUpper(change.largest);
    presenter.inform(&window, QString::fromStdString(readTextEntry(k1to100Key, k1to100Length)));
}

} // namespace longhand
