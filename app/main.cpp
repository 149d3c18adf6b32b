// The program's entry point: hands over to the application object, with the
// dialogs when this build has them.
#include <malloc.h>

#include "app/junctra_app.h"

#ifdef JUNCTRA_HAVE_DIALOGS
#include "ui/run_main_dialog.h"
#endif

int main(int argc, char** argv) {
#ifdef M_MXFAST
  // A merge frees millions of small strings at its end; glibc's fast bins
  // make that several times slower than the merge itself.
  mallopt(M_MXFAST, 0);
#endif
#ifdef JUNCTRA_HAVE_DIALOGS
  return junctra::theApp.InitInstance(argc, argv, &junctra::RunMainDialog);
#else
  return junctra::theApp.InitInstance(argc, argv);
#endif
}
