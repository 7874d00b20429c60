#pragma once

#include <string>

namespace athup::app {

// The working folders of a period. Every folder value ends with the path separator;
// gRunLogFile is a file.
struct Folders {
  std::string gExePath;            // the program's folder
  std::string gHomePath;           // the parent of the program's folder
  std::string gHelpPath;           // help texts of the step windows
  std::string gRunLogFile;         // orb_Ath.log in the program's writable folder
  std::string gTempPath;           // the system temporary folder
  std::string gUploadPath;         // DocDir + UpLoad/
  std::string gBackupPath;         // gUploadPath + ATHBackUp/ + gDataYM/
  std::string gReportPath;         // gUploadPath + ATHRpt/ + gDataYM/
  std::string gApplyTETPath;       // gUploadPath + ApplyTET/
  std::string gPeriodDefaultPath;  // gUploadPath + Default/ + gDataYM/
  std::string gUploadDefaultPath;  // DocDir + Upload/Default/
  std::string gLogPath;            // DocDir + Log/
  std::string gDbTxtPath;          // DocDir + DbTxt/
  std::string gHomeUploadPath;     // gHomePath + UpLoad/
  std::string gDBPath;             // database root: setting DBPath, else DocDir + DB/

  bool operator==(const Folders&) const = default;
};

}  // namespace athup::app
