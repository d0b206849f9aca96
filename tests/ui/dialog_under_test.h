#pragma once
// A dialog as the program builds it: on a started engine, with scripted prompts and a
// help window, in an English locale, shown and active.

#include <QLocale>

#include "HelpWindow.h"
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

}  // namespace nimbra
