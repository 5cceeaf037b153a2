#pragma once
// Every text the window shows, in one place. UTF-8.

namespace texts {
inline constexpr char kCaption[] = "Quorvel";
inline constexpr char kDesignTime[] = "時間"; // what the time panels hold until filled

inline constexpr char kSetClock[] = "時間設定";
inline constexpr char kExit[] = "終　了";
inline constexpr char kReConnect[] = "再取得";
inline constexpr char kNow[] = "現在の時刻";
inline constexpr char kNtpInfo[] = "NTP情報";
inline constexpr char kServerName[] = "ＮＴＰサーバ名／ＩＰアドレス";
inline constexpr char kTimesAtReading[] = "NTP取得時の時刻";
inline constexpr char kSystem[] = "システム";
inline constexpr char kNtp[] = "ＮＴＰ";
inline constexpr char kOwnerNotice[] = "Copyright (C) 2026 Quorvel 開発チーム";
inline constexpr char kVersion[] = "Version:1.0.0";

inline constexpr char kConnected[] = "ＮＴＰサーバへ接続しました。";
inline constexpr char kDisconnected[] = "ＮＴＰサーバを切断しました。";
inline constexpr char kReadOk[] = "ＮＴＰから情報を取得しました。";
inline constexpr char kReadFailed[] = "ＮＴＰとの処理が異常終了しました。";
inline constexpr char kSetOk[] = "システム時間設定が正常に終了しました。";
inline constexpr char kSetFailed[] = "システム時間設定が異常に終了しました。";
} // namespace texts
