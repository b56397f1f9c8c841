#include "host/cli/file_cause_text.h"

#include <cerrno>
#include <cstring>

#include "host/cli/cli_texts.h"
#include "host/cli/format_fault_text.h"

namespace tlhost {
namespace {

using Entry = TextEntry<int>;

// The English words are the C library's, as a line continues them, so that a reason the report
// keeps reads as it always did.
constexpr Entry kEnglish[] = {
    {ENOENT, "no such file or directory"},
    {EACCES, "permission denied"},
    {EPERM, "operation not permitted"},
    {ENOSPC, "no space left on device"},
    {EDQUOT, "disk quota exceeded"},
    {EROFS, "read-only file system"},
    {EISDIR, "is a directory"},
    {ENOTDIR, "not a directory"},
    {ENOTEMPTY, "directory not empty"},
    {EEXIST, "file exists"},
    {EMLINK, "too many links"},
    {ELOOP, "too many levels of symbolic links"},
    {ENAMETOOLONG, "file name too long"},
    {EIO, "input/output error"},
    {EFBIG, "file too large"},
    {EXDEV, "invalid cross-device link"},
    {EBUSY, "device or resource busy"},
    {ETXTBSY, "text file busy"},
    {EMFILE, "too many open files"},
    {ENFILE, "too many open files in system"},
    {ENOMEM, "cannot allocate memory"},
    {EINVAL, "invalid argument"},
    {EAGAIN, "resource temporarily unavailable"},
    {EINTR, "interrupted system call"},
    {ENXIO, "no such device or address"},
    {ENODEV, "no such device"},
    {ESTALE, "stale file handle"},
    {ENOLCK, "no locks available"},
    {EOVERFLOW, "value too large for defined data type"},
    {EBADF, "bad file descriptor"},
    {ENOTSUP, "operation not supported"},
    {ENOSYS, "function not implemented"},
};

constexpr Entry kJapanese[] = {
    {ENOENT, "ファイルまたはフォルダーがありません"},
    {EACCES, "アクセスが拒否されました"},
    {EPERM, "操作が許可されていません"},
    {ENOSPC, "ディスクの空き容量が不足しています"},
    {EDQUOT, "ディスクの割り当て容量を超えました"},
    {EROFS, "読み取り専用のファイルシステムです"},
    {EISDIR, "フォルダーです"},
    {ENOTDIR, "フォルダーではありません"},
    {ENOTEMPTY, "フォルダーが空ではありません"},
    {EEXIST, "ファイルが既にあります"},
    {EMLINK, "リンクが多すぎます"},
    {ELOOP, "シンボリックリンクの階層が深すぎます"},
    {ENAMETOOLONG, "ファイル名が長すぎます"},
    {EIO, "入出力エラーが発生しました"},
    {EFBIG, "ファイルが大きすぎます"},
    {EXDEV, "別のデバイスへはリンクできません"},
    {EBUSY, "デバイスまたはリソースが使用中です"},
    {ETXTBSY, "実行中のファイルです"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "システムで開いているファイルが多すぎます"},
    {ENOMEM, "メモリーが不足しています"},
    {EINVAL, "引数が無効です"},
    {EAGAIN, "リソースが一時的に使用できません"},
    {EINTR, "システムコールが中断されました"},
    {ENXIO, "デバイスまたはアドレスがありません"},
    {ENODEV, "デバイスがありません"},
    {ESTALE, "ファイルハンドルが古くなっています"},
    {ENOLCK, "ロックを使用できません"},
    {EOVERFLOW, "値が大きすぎます"},
    {EBADF, "ファイル記述子が無効です"},
    {ENOTSUP, "サポートされていない操作です"},
    {ENOSYS, "実装されていない機能です"},
};

struct CauseWords {
  FileCause cause;
  CliText words;
};

constexpr CauseWords kCauseWords[] = {
    {FileCause::NoSuchFile, CliText::CauseNoSuchFile},
    {FileCause::NoSuchFolder, CliText::CauseNoSuchFolder},
    {FileCause::IsAFolder, CliText::CauseIsAFolder},
    {FileCause::NotARegularFile, CliText::CauseNotARegularFile},
    {FileCause::ReadOnlyFile, CliText::CauseReadOnlyFile},
    {FileCause::PermissionDenied, CliText::CausePermissionDenied},
    {FileCause::CannotBeRead, CliText::CauseCannotBeRead},
    {FileCause::ChangedOnDisk, CliText::CauseChangedOnDisk},
};

}  // namespace

const char* SystemErrorTextOf(UiLanguage language, int error) {
  return language == UiLanguage::Japanese ? TextIn(kJapanese, error) : TextIn(kEnglish, error);
}

std::vector<int> WordedSystemErrors() {
  std::vector<int> errors;
  for (const Entry& entry : kEnglish) errors.push_back(entry.key);
  return errors;
}

std::string SystemErrorText(UiLanguage language, int error) {
  if (const char* words = SystemErrorTextOf(language, error)) return words;
  if (const char* words = SystemErrorTextOf(UiLanguage::English, error)) return words;
  return Said(language, CliText::SystemError,
              {{"words", std::strerror(error)}, {"number", std::to_string(error)}});
}

std::string CauseText(UiLanguage language, FileCause cause) {
  for (const CauseWords& known : kCauseWords)
    if (known.cause == cause) return Said(language, known.words);
  return "";
}

std::string ProblemText(UiLanguage language, const FileProblem& problem) {
  switch (problem.cause) {
    case FileCause::System:
      return SystemErrorText(language, problem.systemError);
    case FileCause::Locked:
      return problem.holder > 0 ? Said(language, CliText::CauseLockedByProcess,
                                       {{"pid", std::to_string(problem.holder)}})
                                : Said(language, CliText::CauseLocked);
    case FileCause::SecondNameUnreadable:
      return Said(language, CliText::CauseSecondNameUnreadable, {{"other", problem.other}});
    case FileCause::Malformed:
      return Said(language, CliText::MalformedDetail,
                  {{"what", Said(language, CliText::EngineMalformed)},
                   {"detail", FormatFaultText(language, problem.format)}});
    default:
      return CauseText(language, problem.cause);
  }
}

}  // namespace tlhost
