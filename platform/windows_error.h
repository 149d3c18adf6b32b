// Windows error codes as the errno values the rest of the program expects.
#pragma once

namespace junctra {

// ERROR_FILE_NOT_FOUND gives ENOENT, ERROR_ACCESS_DENIED EACCES, a sharing
// or lock violation EWOULDBLOCK (someone else has the file), ...; a code
// without a counterpart gives EIO. Only in the Windows build.
int ErrnoFromWin32(unsigned long error);

// The Windows error that ErrnoFromWin32 last turned into errno value error
// on this thread; 0 when its last conversion gave another value (or none
// was made), as for an errno value the program made itself. Messages give
// the system's own text for it.
unsigned long Win32ErrorBehind(int error);

}  // namespace junctra
