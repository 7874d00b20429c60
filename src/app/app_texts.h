#pragma once

#include <string_view>

// Texts the user reads during start-up and period preparation.
namespace athup::app::texts {

inline constexpr std::string_view kPeriodEmpty = "所屬年月不可為空白，請重新輸入！";
inline constexpr std::string_view kPeriodInvalid = "日期輸入錯誤，請重新輸入！";

// Folder failures: prefix, the folder in double quotes, suffix.
inline constexpr std::string_view kFolderSuffix =
    "！ 請確認您的磁碟機運作正常, 或該目錄尚未被設定為唯讀.";
inline constexpr std::string_view kUploadFolderPrefix = "無法建立上傳";               // A
inline constexpr std::string_view kBackupFolderPrefix = "無法建立附件上傳備份目錄";   // B
inline constexpr std::string_view kLogFolderPrefix = "無法建立整批申報訊息檔目錄";    // C
inline constexpr std::string_view kReceiptFolderPrefix = "無法建立申報回執聯檔目錄";  // D
inline constexpr std::string_view kDbTxtFolderPrefix = "無法建立資料轉檔目錄";        // E
inline constexpr std::string_view kTableFolderPrefix = "無法建立資料表";              // F
// A and F say "目錄" after the quoted folder.
inline constexpr std::string_view kFolderWord = "目錄";

inline constexpr std::string_view kTableFileMissing = "找不到資料檔:";
inline constexpr std::string_view kTempFolderFailed = "無法建立暫存檔目錄";
inline constexpr std::string_view kTaxpayerMissing = "找不到營業人建檔資料";
inline constexpr std::string_view kNotUploadedFile =
    "申報檔位置的檔案不是申報上傳的檔案，請重新輸入!";
inline constexpr std::string_view kNoReturnUpload =
    "請先執行營業稅申報上傳後，再執行附件上傳的設定!";
// The lookups were asked for although the start-up checks failed (or never ran).
inline constexpr std::string_view kDataNotAvailable =
    "資料庫未能正常開啟，無法使用此功能。請確認資料庫路徑及資料檔後，重新選擇申報所屬年月。";
inline constexpr std::string_view kDatabaseFolderStatus = "您的資料庫路徑為->";
inline constexpr std::string_view kApplyPeriodStatus = "申報年期:";
inline constexpr std::string_view kDataPeriodStatus = "資料所屬:";
inline constexpr std::string_view kRunLogDbPath = "gDBPath=";

inline constexpr std::string_view kVersionCheckCaption = "版本檢查";
inline constexpr std::string_view kVersionCheckQuestion = "是否檢查新版本？";
inline constexpr std::string_view kOffline = "本機網路未連線，請確定連線後，再行檢查版本。";
inline constexpr std::string_view kCheckBeforeUpload = "建議營業人在上傳前再檢查一次。";

inline constexpr std::string_view kVersionDatePrefix = "版本日期：";

}  // namespace athup::app::texts
