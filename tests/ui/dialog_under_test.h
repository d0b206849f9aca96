#pragma once
// A dialog as the program builds it: on a started engine, with scripted prompts and a
// help window, in an English locale, shown and active.

#include <QLocale>
#include <QObject>
#include <QTest>
#include <memory>

#include "help_window.h"
#include "scripted_prompts.h"
#include "started_engine.h"

namespace nimbra {

template <class Dialog>
struct DialogUnderTest {
  DialogUnderTest() { form.setLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

  StartedEngine started;
  ScriptedPrompts prompts;
  HelpWindow help;
  Dialog form{started.engine, prompts, help};
};

// The base of a dialog's tests: a fresh dialog for every test, and short names for
// what the tests drive and read.
template <class Dialog>
class DialogTest : public QObject {
 protected:
  void Build() {
    under_ = std::make_unique<DialogUnderTest<Dialog>>();
    engine = &under_->started.engine;
    log = &under_->started.log;
    prompts = &under_->prompts;
    help = &under_->help;
    form = &under_->form;
  }
  void Release() { under_.reset(); }
  void ShowForm() { QVERIFY(ShowActive(*form)); }
  RunView S() { return engine->View(); }

  Engine* engine = nullptr;
  MemoryLog* log = nullptr;
  ScriptedPrompts* prompts = nullptr;
  HelpWindow* help = nullptr;
  Dialog* form = nullptr;

 private:
  std::unique_ptr<DialogUnderTest<Dialog>> under_;
};

}  // namespace nimbra
