#pragma once
// The texts the recorder shows, and the file filter of storage files.
namespace quill::core::text {

inline constexpr char16_t kCannotOpenStorage[] = u"ストレージを開けません";
inline constexpr char16_t kSaveQuestion[] = u"現在のデータをストレージに保存しますか";
inline constexpr char16_t kStorageFilter[] = u"ストレージ(*.stg)|*.stg";
inline constexpr char16_t kStorageExtension[] = u"stg";
inline constexpr char16_t kTemporaryStorage[] = u"Quillet.tmp";
// Shown when the records could not be saved under the chosen name.
inline constexpr char16_t kCannotSaveStorage[] =
    u"ストレージを保存できません。記録は閉じずにそのまま残します:\n";
// Shown when the records could not be saved and the temporary storage could
// not be opened again either: its file keeps the records, but nothing more
// is recorded.
inline constexpr char16_t kCannotReopenStorage[] =
    u"ストレージを保存できず、開き直すこともできません。"
    u"これまでの記録は次のファイルに残っていますが、これ以上は記録できません:\n";
// Shown once when the records of an earlier run that did not end normally
// were kept under a new name.
inline constexpr char16_t kRecoveredStorage[] =
    u"前回正常に終了しなかったときの記録を次のファイルに保存しました:\n";
// Shown instead when that storage could not be opened as one (a file half
// written when the system went down): its bytes were kept unchanged.
inline constexpr char16_t kRecoveredUnreadableStorage[] =
    u"前回正常に終了しなかったときの記録はストレージとして開けないため、"
    u"そのままの内容を次のファイルに残しました:\n";
// Shown after a load that stopped at a record that could not be read
// whole (a damaged file): the records before it were loaded.
inline constexpr char16_t kDamagedStorage[] =
    u"ストレージが壊れているため、次の番号のレコードから後は読み込めません:\n";

}  // namespace quill::core::text
