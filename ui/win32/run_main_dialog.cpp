#include "ui/run_main_dialog.h"

#include <cstdio>

#include "ui/win32/dialog_services.h"
#include "ui/win32/junctra_dlg.h"

#include <objbase.h>

namespace junctra {
namespace {

// The shell's folder browser needs COM, in a single-threaded apartment, on
// the dialog's thread.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace

// The shell's folder browser speaks the system's language, not the satellite's.
int RunMainDialog(int&, char**, const std::filesystem::path& first, const std::u16string&,
                  const std::filesystem::path& base) {
  ComApartment com;
  CJunctraDlg dialog;
  dialog.SetFolders(first, {});
  dialog.SetBase(base);
  const INT_PTR result = dialog.DoModal();
  if (result == -1) {
    // Seen from the console program, or under Wine without a display.
    std::fprintf(stderr, "%ls: cannot create the dialog (error %lu)\n", ApplicationName().c_str(),
                 GetLastError());
  }
  return static_cast<int>(result);
}

}  // namespace junctra
