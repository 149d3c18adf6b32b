// Qt's dialogs keep state through QSettings: the folder chooser writes its
// history, with the folders used, into the user's configuration folder when
// it closes. The program writes nothing but the merged files.
#pragma once

namespace junctra {

// Points Qt's user settings below /dev/null, where no folder can be made,
// not even by root: every save fails before it touches the disk, and
// nothing is read. Call before the first dialog opens.
void KeepQtSettingsOffDisk();

}  // namespace junctra
