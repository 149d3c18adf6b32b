// The program's entry point: hands over to the application object, with the
// dialogs when this build has them.
#include "app/junctra_app.h"
#include "platform/env.h"

#ifdef JUNCTRA_HAVE_DIALOGS
#include "ui/run_main_dialog.h"
#endif

int main(int argc, char** argv) {
  junctra::PrepareProcess();
#ifdef JUNCTRA_HAVE_DIALOGS
  return junctra::theApp.InitInstance(argc, argv, &junctra::RunMainDialog);
#else
  return junctra::theApp.InitInstance(argc, argv);
#endif
}
