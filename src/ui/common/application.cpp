#include "application.h"

#include "outofmemory.h"
#include "presenter.h"

#include <new>

namespace longhand {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), ownPresenter_(std::make_unique<QtPresenter>()),
      presenter_(ownPresenter_.get()) {}

Application::~Application() = default;

void Application::setPresenter(Presenter* presenter) {
    presenter_ = presenter ? presenter : ownPresenter_.get();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        tellOutOfMemory(*presenter_, activeWindow());
        return false;
    }
}

} // namespace longhand
