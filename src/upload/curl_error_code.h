#pragma once

#include <curl/curl.h>

namespace athup::upload {

// The internet error code (the numbering internetErrorText knows) for a failed libcurl transfer.
//
//   host name not resolved                  CURLE_COULDNT_RESOLVE_HOST          -> 12007
//   proxy not resolved or not reachable     CURLE_COULDNT_RESOLVE_PROXY         -> 12165
//   cannot connect                          CURLE_COULDNT_CONNECT               -> 12029
//   timed out                               CURLE_OPERATION_TIMEDOUT            -> 12002
//   URL not understood                      CURLE_URL_MALFORMAT                 -> 12005
//   scheme not supported                    CURLE_UNSUPPORTED_PROTOCOL          -> 12006
//   stopped by the caller or the watchdog   CURLE_ABORTED_BY_CALLBACK           -> 12017
//   connection cut while sending            CURLE_SEND_ERROR, CURLE_PARTIAL_FILE -> 12030
//   connection cut while receiving          CURLE_RECV_ERROR                    -> 12031
//   no or unreadable answer                 CURLE_GOT_NOTHING, WEIRD_SERVER_REPLY -> 12152
//   too many redirects                      CURLE_TOO_MANY_REDIRECTS            -> 12156
//   server wants a client certificate       CURLE_SSL_CERTPROBLEM               -> 12044
//   TLS handshake failed                    CURLE_SSL_CONNECT_ERROR, SSL_ENGINE_* -> 12157
//   certificate authority file unreadable   CURLE_SSL_CACERT_BADFILE            -> 12157
//   server certificate not verified         CURLE_PEER_FAILED_VERIFICATION: by the verify
//                                           result: expired or not yet valid -> 12037, name does
//                                           not match the host -> 12038, revoked -> 12170,
//                                           untrusted issuer -> 12045, anything else -> 12169
//   content decoding failed                 CURLE_BAD_CONTENT_ENCODING          -> 12175
//   anything else                                                               -> 12004
// `verifyResult` is CURLINFO_SSL_VERIFYRESULT of the transfer (an OpenSSL X509_V_ERR_* value);
// hostname mismatch is reported by libcurl with verifyResult 0.
[[nodiscard]] int internetErrorCode(CURLcode code, long verifyResult);

}  // namespace athup::upload
