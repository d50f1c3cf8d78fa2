#pragma once

// The maker's addresses, fixed here and nowhere else.
namespace veltrano::addresses {
inline constexpr char website[] = "https://veltrano.example.org/";
inline constexpr char updateDownload[] = "https://veltrano.example.org/download/";
inline constexpr char supportMail[] = "support@veltrano.example.org";
// Placeholders the error component is configured with; the user sets real ones in its dialog.
inline constexpr char smtpServer[] = "smtp.example.org";
inline constexpr char senderAddress[] = "user@example.org";
} // namespace veltrano::addresses
