#include "startup/administrator_check.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "tessarel/unique_handle.h"

namespace tessarel {
namespace {

struct sid_traits : null_means_none<PSID> {
  static bool close(PSID sid) noexcept { return FreeSid(sid) == nullptr; }
};
using unique_sid = unique_handle<sid_traits>;

// Undoes ImpersonateSelf on every way out.
class self_impersonation {
 public:
  self_impersonation() : active_(ImpersonateSelf(SecurityImpersonation) != FALSE) {}
  ~self_impersonation() {
    if (active_) RevertToSelf();
  }
  self_impersonation(const self_impersonation&) = delete;
  self_impersonation& operator=(const self_impersonation&) = delete;

 private:
  bool active_;
};

// The impersonation token of this thread; the process token when the thread
// has none (the impersonation failed), which the access check then refuses.
unique_kernel_handle open_caller_token() {
  HANDLE token = nullptr;
  if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, FALSE, &token)) {
    return unique_kernel_handle(token);
  }
  if (GetLastError() != ERROR_NO_TOKEN) return {};
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  return unique_kernel_handle(token);
}

unique_sid administrators_sid() {
  SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid)) {
    return {};
  }
  return unique_sid(sid);
}

constexpr DWORD access_read = 1;
constexpr DWORD access_write = 2;

}  // namespace

bool is_administrator() {
  const self_impersonation impersonation;
  const unique_kernel_handle token = open_caller_token();
  if (!token) return false;
  const unique_sid admins = administrators_sid();
  if (!admins) return false;

  // The descriptor is built in ordinary buffers of the sizes the platform
  // defines (its minimum length differs between 32 and 64 bits).
  std::vector<unsigned char> descriptor_buffer(SECURITY_DESCRIPTOR_MIN_LENGTH);
  const auto descriptor = static_cast<PSECURITY_DESCRIPTOR>(descriptor_buffer.data());
  const DWORD acl_size =
      sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(admins.get());
  std::vector<DWORD> acl_buffer((acl_size + sizeof(DWORD) - 1) / sizeof(DWORD));
  const auto acl = reinterpret_cast<PACL>(acl_buffer.data());

  if (!InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !InitializeAcl(acl, acl_size, ACL_REVISION2) ||
      !AddAccessAllowedAce(acl, ACL_REVISION2, access_read | access_write, admins.get()) ||
      !SetSecurityDescriptorDacl(descriptor, TRUE, acl, FALSE) ||
      !SetSecurityDescriptorGroup(descriptor, admins.get(), FALSE) ||
      !SetSecurityDescriptorOwner(descriptor, admins.get(), FALSE) ||
      !IsValidSecurityDescriptor(descriptor)) {
    return false;
  }

  GENERIC_MAPPING mapping{access_read, access_write, 0, access_read | access_write};
  PRIVILEGE_SET privileges{};
  DWORD privileges_size = sizeof(privileges);
  DWORD granted = 0;
  BOOL status = FALSE;
  if (!AccessCheck(descriptor, token.get(), access_read, &mapping, &privileges,
                   &privileges_size, &granted, &status)) {
    std::printf("AccessCheck()   failed   with   error   %lu\n", GetLastError());
    return false;
  }
  return status != FALSE;
}

}  // namespace tessarel
