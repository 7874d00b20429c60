#pragma once

class QCoreApplication;

namespace athup::gui {

// Loads Qt's own texts in Traditional Chinese (qtbase_zh_TW from Qt's translations folder), so the
// standard buttons read 是, 否, 確定, 取消 as the users expect. False when the file is not
// installed; Qt's English texts stay then. Call once, after the application object exists.
bool installQtTranslations(QCoreApplication& application);

}  // namespace athup::gui
