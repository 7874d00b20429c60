#include "upload/curl_error_code.h"

#include <openssl/x509_vfy.h>

namespace athup::upload {
namespace {

int certificateErrorCode(long verifyResult) {
  switch (verifyResult) {
    case X509_V_OK:  // verified chain, so the host name is what failed
      return 12038;
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID:
    case X509_V_ERR_CRL_HAS_EXPIRED:
      return 12037;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return 12038;
    case X509_V_ERR_CERT_REVOKED:
      return 12170;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_CERT_UNTRUSTED:
      return 12045;
    default:
      return 12169;
  }
}

}  // namespace

int internetErrorCode(CURLcode code, long verifyResult) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return 12007;
    case CURLE_COULDNT_RESOLVE_PROXY:
      return 12165;
    case CURLE_COULDNT_CONNECT:
      return 12029;
    case CURLE_OPERATION_TIMEDOUT:
      return 12002;
    case CURLE_URL_MALFORMAT:
      return 12005;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return 12006;
    case CURLE_ABORTED_BY_CALLBACK:
      return 12017;
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
      return 12030;
    case CURLE_RECV_ERROR:
      return 12031;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
      return 12152;
    case CURLE_TOO_MANY_REDIRECTS:
      return 12156;
    case CURLE_SSL_CERTPROBLEM:
      return 12044;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CACERT_BADFILE:
      return 12157;
    case CURLE_PEER_FAILED_VERIFICATION:
      return certificateErrorCode(verifyResult);
    case CURLE_BAD_CONTENT_ENCODING:
      return 12175;
    default:
      return 12004;
  }
}

}  // namespace athup::upload
