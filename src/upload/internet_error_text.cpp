#include "upload/internet_error_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace athup::upload {
namespace {

struct Row {
  int code;
  std::string_view name;
  std::string_view description;
};

// The rows that follow the common form "Error Code:" + code + "(" + name + ") " + CR LF +
// description, sorted by code. The exceptions are written out in internetErrorText.
constexpr auto kRows = std::to_array<Row>({
    {12001, "ERROR_INTERNET_OUT_OF_HANDLES", "No more handles could be generated at this time."},
    {12002, "ERROR_INTERNET_TIMEOUT", "The request has timed out."},
    {12003, "ERROR_INTERNET_EXTENDED_ERROR",
     "An extended error was returned from the server. This is typically a string or buffer "
     "containing a verbose error message. Call InternetGetLastResponseInfo to retrieve the error "
     "text."},
    {12004, "ERROR_INTERNET_INTERNAL_ERROR", "An internal error has occurred."},
    {12005, "ERROR_INTERNET_INVALID_URL", "The URL is invalid."},
    {12006, "ERROR_INTERNET_UNRECOGNIZED_SCHEME",
     "The URL scheme could not be recognized, or is not supported."},
    {12008, "ERROR_INTERNET_PROTOCOL_NOT_FOUND", "The requested protocol could not be located."},
    {12009, "ERROR_INTERNET_INVALID_OPTION",
     "A request to InternetQueryOption or InternetSetOption specified an invalid option value."},
    {12010, "ERROR_INTERNET_BAD_OPTION_LENGTH",
     "The length of an option supplied to InternetQueryOption or InternetSetOption is incorrect "
     "for the type of option specified."},
    {12011, "ERROR_INTERNET_OPTION_NOT_SETTABLE",
     "The request option cannot be set, only queried."},
    {12013, "ERROR_INTERNET_INCORRECT_USER_NAME",
     "The request to connect and log on to an FTP server could not be completed because the "
     "supplied user name is incorrect."},
    {12014, "ERROR_INTERNET_INCORRECT_PASSWORD",
     "The request to connect and log on to an FTP server could not be completed because the "
     "supplied password is incorrect."},
    {12015, "ERROR_INTERNET_LOGIN_FAILURE",
     "The request to connect to and log on to an FTP server failed."},
    {12016, "ERROR_INTERNET_INVALID_OPERATION", "The requested operation is invalid."},
    {12017, "ERROR_INTERNET_OPERATION_CANCELLED",
     "The operation was canceled, usually because the handle on which the request was operating "
     "was closed before the operation completed."},
    {12018, "ERROR_INTERNET_INCORRECT_HANDLE_TYPE",
     "The type of handle supplied is incorrect for this operation."},
    {12019, "ERROR_INTERNET_INCORRECT_HANDLE_STATE",
     "The requested operation cannot be carried out because the handle supplied is not in the "
     "correct state."},
    {12020, "ERROR_INTERNET_NOT_PROXY_REQUEST", "The request cannot be made via a proxy."},
    {12021, "ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND",
     "A required registry value could not be located."},
    {12022, "ERROR_INTERNET_BAD_REGISTRY_PARAMETER",
     "A required registry value was located but is an incorrect type or has an invalid value."},
    {12023, "ERROR_INTERNET_NO_DIRECT_ACCESS",
     "Direct network access cannot be made at this time."},
    {12024, "ERROR_INTERNET_NO_CONTEXT",
     "An asynchronous request could not be made because a zero context value was supplied."},
    {12025, "ERROR_INTERNET_NO_CALLBACK",
     "An asynchronous request could not be made because a callback function has not been set."},
    {12026, "ERROR_INTERNET_REQUEST_PENDING",
     "The required operation could not be completed because one or more requests are pending."},
    {12027, "ERROR_INTERNET_INCORRECT_FORMAT", "The format of the request is invalid."},
    {12028, "ERROR_INTERNET_ITEM_NOT_FOUND", "The requested item could not be located."},
    {12030, "ERROR_INTERNET_CONNECTION_ABORTED",
     "The connection with the server has been terminated."},
    {12031, "ERROR_INTERNET_CONNECTION_RESET", "The connection with the server has been reset."},
    {12032, "ERROR_INTERNET_FORCE_RETRY", "The Win32 Internet function needs to redo the request."},
    {12033, "ERROR_INTERNET_INVALID_PROXY_REQUEST", "The request to the proxy was invalid."},
    {12034, "ERROR_INTERNET_NEED_UI",
     "A user interface or other blocking operation has been requested."},
    {12036, "ERROR_INTERNET_HANDLE_EXISTS",
     "The request failed because the handle already exists."},
    {12037, "ERROR_INTERNET_SEC_CERT_DATE_INVALID",
     "SSL certificate date that was received from the server is bad. The certificate is expired."},
    {12038, "ERROR_INTERNET_SEC_CERT_CN_INVALID",
     "SSL certificate common name (host name field) is incorrect—for example, if you entered "
     "www.server.com and the common name on the certificate says www.different.com."},
    {12039, "ERROR_INTERNET_HTTP_TO_HTTPS_ON_REDIR",
     "The application is moving from a non-SSL to an SSL connection because of a redirect."},
    {12040, "ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR",
     "The application is moving from an SSL to an non-SSL connection because of a redirect."},
    {12041, "ERROR_INTERNET_MIXED_SECURITY",
     "The content is not entirely secure. Some of the content being viewed may have come from "
     "unsecured servers."},
    {12042, "ERROR_INTERNET_CHG_POST_IS_NON_SECURE",
     "The application is posting and attempting to change multiple lines of text on a server that "
     "is not secure."},
    {12043, "ERROR_INTERNET_POST_IS_NON_SECURE",
     "The application is posting data to a server that is not secure."},
    {12044, "ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED",
     "The server is requesting client authentication."},
    {12045, "ERROR_INTERNET_INVALID_CA",
     "The function is unfamiliar with the Certificate Authority that generated the server's "
     "certificate."},
    {12046, "ERROR_INTERNET_CLIENT_AUTH_NOT_SETUP",
     "Client authorization is not set up on this computer."},
    {12047, "ERROR_INTERNET_ASYNC_THREAD_FAILED",
     "The application could not start an asynchronous thread."},
    {12048, "ERROR_INTERNET_REDIRECT_SCHEME_CHANGE",
     "The function could not handle the redirection, because the scheme changed (for example, HTTP "
     "to FTP)."},
    {12049, "ERROR_INTERNET_DIALOG_PENDING",
     "Another thread has a password dialog box in progress."},
    {12050, "ERROR_INTERNET_RETRY_DIALOG", "The dialog box should be retried."},
    {12052, "ERROR_INTERNET_HTTPS_HTTP_SUBMIT_REDIR",
     "The data being submitted to an SSL connection is being redirected to a non-SSL connection."},
    {12053, "ERROR_INTERNET_INSERT_CDROM",
     "The request requires a CD-ROM to be inserted in the CD-ROM drive to locate the resource "
     "requested."},
    {12054, "ERROR_INTERNET_FORTEZZA_LOGIN_NEEDED",
     "The requested resource requires Fortezza authentication."},
    {12055, "ERROR_INTERNET_SEC_CERT_ERRORS", "The SSL certificate contains errors."},
    {12057, "ERROR_INTERNET_SEC_CERT_REV_FAILED",
     "In IE, go to Internet Options > Advanced > Security has Check for server certificate "
     "revocation - disable it"},
    {12110, "ERROR_FTP_TRANSFER_IN_PROGRESS",
     "The requested operation cannot be made on the FTP session handle because an operation is "
     "already in progress."},
    {12111, "ERROR_FTP_DROPPED",
     "The FTP operation was not completed because the session was aborted."},
    {12112, "ERROR_FTP_NO_PASSIVE_MODE", "Passive mode is not available on the server."},
    {12130, "ERROR_GOPHER_PROTOCOL_ERROR",
     "An error was detected while parsing data returned from the Gopher server. (Note: Windows XP "
     "and Windows Server 2003 R2 and earlier only.)"},
    {12131, "ERROR_GOPHER_NOT_FILE",
     "The request must be made for a file locator. (Note: Windows XP and Windows Server 2003 R2 "
     "and earlier only.)"},
    {12132, "ERROR_GOPHER_DATA_ERROR",
     "An error was detected while receiving data from the Gopher server. (Note: Windows XP and "
     "Windows Server 2003 R2 and earlier only.)"},
    {12133, "ERROR_GOPHER_END_OF_DATA",
     "The end of the data has been reached. (Note: Windows XP and Windows Server 2003 R2 and "
     "earlier only.)"},
    {12134, "ERROR_GOPHER_INVALID_LOCATOR",
     "The supplied locator is not valid. (Note: Windows XP and Windows Server 2003 R2 and earlier "
     "only.)"},
    {12135, "ERROR_GOPHER_INCORRECT_LOCATOR_TYPE",
     "The type of the locator is not correct for this operation. (Note: Windows XP and Windows "
     "Server 2003 R2 and earlier only.)"},
    {12136, "ERROR_GOPHER_NOT_GOPHER_PLUS",
     "The requested operation can be made only against a Gopher+ server, or with a locator that "
     "specifies a Gopher+ operation. (Note: Windows XP and Windows Server 2003 R2 and earlier "
     "only.)"},
    {12138, "ERROR_GOPHER_UNKNOWN_LOCATOR",
     "The locator type is unknown. (Note: Windows XP and Windows Server 2003 R2 and earlier "
     "only.)"},
    {12150, "ERROR_HTTP_HEADER_NOT_FOUND", "The requested header could not be located."},
    {12151, "ERROR_HTTP_DOWNLEVEL_SERVER", "The server did not return any headers."},
    {12152, "ERROR_HTTP_INVALID_SERVER_RESPONSE", "The server response could not be parsed."},
    {12153, "ERROR_HTTP_INVALID_HEADER", "The supplied header is invalid."},
    {12154, "ERROR_HTTP_INVALID_QUERY_REQUEST", "The request made to HttpQueryInfo is invalid."},
    {12155, "ERROR_HTTP_HEADER_ALREADY_EXISTS",
     "The header could not be added because it already exists."},
    {12156, "ERROR_HTTP_REDIRECT_FAILED",
     "The redirection failed because either the scheme changed (for example, HTTP to FTP) or all "
     "attempts made to redirect failed (default is five attempts)."},
    {12157, "ERROR_INTERNET_SECURITY_CHANNEL_ERROR",
     "The application experienced an internal error loading the SSL libraries."},
    {12158, "ERROR_INTERNET_UNABLE_TO_CACHE_FILE", "The function was unable to cache the file."},
    {12159, "ERROR_INTERNET_TCPIP_NOT_INSTALLED",
     "The required protocol stack is not loaded and the application cannot start WinSock."},
    {12160, "ERROR_HTTP_NOT_REDIRECTED", "The HTTP request was not redirected."},
    {12161, "ERROR_HTTP_COOKIE_NEEDS_CONFIRMATION", "The HTTP cookie requires confirmation."},
    {12162, "ERROR_HTTP_COOKIE_DECLINED", "The HTTP cookie was declined by the server."},
    {12163, "ERROR_INTERNET_DISCONNECTED", "The Internet connection has been lost."},
    {12164, "ERROR_INTERNET_SERVER_UNREACHABLE",
     "The Web site or server indicated is unreachable."},
    {12165, "ERROR_INTERNET_PROXY_SERVER_UNREACHABLE",
     "The designated proxy server cannot be reached."},
    {12166, "ERROR_INTERNET_BAD_AUTO_PROXY_SCRIPT",
     "There was an error in the automatic proxy configuration script."},
    {12167, "ERROR_INTERNET_UNABLE_TO_DOWNLOAD_SCRIPT",
     "The automatic proxy configuration script could not be downloaded. The "
     "INTERNET_FLAG_MUST_CACHE_REQUEST flag was set."},
    {12168, "ERROR_HTTP_REDIRECT_NEEDS_CONFIRMATION",
     "The redirection requires user confirmation."},
    {12169, "ERROR_INTERNET_SEC_INVALID_CERT", "SSL certificate is invalid."},
    {12170, "ERROR_INTERNET_SEC_CERT_REVOKED", "SSL certificate was revoked."},
    {12171, "ERROR_INTERNET_FAILED_DUETOSECURITYCHECK",
     "The function failed due to a security check."},
    {12172, "ERROR_INTERNET_NOT_INITIALIZED",
     "Initialization of the WinINet API has not occurred. Indicates that a higher-level function, "
     "such as InternetOpen, has not been called yet."},
    {12173, "ERROR_INTERNET_NEED_MSN_SSPI_PKG", "Not currently implemented."},
    {12175, "ERROR_INTERNET_DECODING_FAILED",
     "WinINet failed to perform content decoding on the response."},
});

std::string commonForm(const Row& row) {
  return "Error Code:" + std::to_string(row.code) + "(" + std::string(row.name) + ") \r\n" +
         std::string(row.description);
}

}  // namespace

std::string internetErrorText(int code) {
  switch (code) {
    case 6:
      return "Error occurred.(ERROR_INVALID_HANDLE)  \r\nThe handle is invalid.(Header:  Declared "
             "in Winerror.h)";
    case 18:
      return "Error occurred.(ERROR_NO_MORE_FILES)  \r\nNo more files have been found.( Header:  "
             "Declared in Winerror.h)";
    case 234:
      return "Error occurred.(ERROR_MORE_DATA)  \r\nMore data is available.( Header:  Declared in "
             "Winerror.h)";
    case 259:
      return "Error occurred.(ERROR_NO_MORE_ITEMS)  \r\nNo more data is available.( Header:  "
             "Declared in Winerror.h)";
    case 12007:
      return "ErrorCodeToDo_12007---" + std::to_string(code);
    case 12029:
      return "ErrorCodeToDo_12029";
    case 12012:
      return "Error Code:12012(ERROR_INTERNET_SHUTDOWN \r\n\tWinINet support is being shut down or "
             "unloaded.";
    case 12137:
      return "Error Code:12137(ERROR_GOPHER_ATTRIBUTE_NOT_FOUND \r\nThe requested attribute could "
             "not be located. (Note: Windows XP and Windows Server 2003 R2 and earlier only.)";
    case 12056:
      return "Error Code:12056(ERROR_INTERNET_SEC_CERT_NO_REV) ";
    case 12174:
      return "Error Code:12174(ERROR_INTERNET_LOGIN_FAILURE_DISPLAY_ENTITY_BODY) \r\nThe MS-Logoff "
             "digest header has been returned from the Web site.\r\n This header specifically "
             "instructs the digest package to purge credentials for the associated realm. \r\nThis "
             "error will only be returned if INTERNET_ERROR_MASK_LOGIN_FAILURE_DISPLAY_ENTITY_BODY "
             "has been set.";
    default:
      break;
  }
  const auto* row = std::lower_bound(kRows.begin(), kRows.end(), code,
                                     [](const Row& r, int c) { return r.code < c; });
  if (row == kRows.end() || row->code != code) return {};
  return commonForm(*row);
}

}  // namespace athup::upload
