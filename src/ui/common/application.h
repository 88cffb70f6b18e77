// The application object of the windows: a QApplication that answers a
// std::bad_alloc escaping any event handler with kOutOfMemory instead of
// ending the program. The handlers that take or make long numbers catch it
// themselves (outofmemory.h); this is the net under everything else, such
// as the layout and painting of a long text.
#pragma once

#include <QApplication>
#include <memory>

namespace longhand {

class Presenter;

class Application : public QApplication {
    Q_OBJECT

  public:
    Application(int& argc, char** argv);
    ~Application() override;

    // Where the message goes; the real message boxes unless a test sets
    // another (the application does not own it).
    void setPresenter(Presenter* presenter);

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    std::unique_ptr<Presenter> ownPresenter_;
    Presenter* presenter_;
};

} // namespace longhand
