#pragma once

#include "trapwell/sysobj.h"
#include <trapwell/comtypes.h>

#include <QString>
#include <QVariant>

#include <cstdint>

class QObject;

namespace trapwell {

// {4D1D273F-574B-460D-AA30-957AAF0F87B6}
inline constexpr Guid LIBID_Trapwell{
    0x4D1D273F, 0x574B, 0x460D, {0xAA, 0x30, 0x95, 0x7A, 0xAF, 0x0F, 0x87, 0xB6}};
// {02D76864-5CD8-402D-8225-B5177AC6ED23}
inline constexpr Guid CLSID_clsErrHandler{
    0x02D76864, 0x5CD8, 0x402D, {0x82, 0x25, 0xB5, 0x17, 0x7A, 0xC6, 0xED, 0x23}};
// {236B20C6-80EF-48B0-A661-A57CE33BDA60}
inline constexpr Guid IID_clsErrHandler{
    0x236B20C6, 0x80EF, 0x48B0, {0xA6, 0x61, 0xA5, 0x7C, 0xE3, 0x3B, 0xDA, 0x60}};
// {D96E121C-B2AD-4CCF-BCE2-987E9DBB99DE}
inline constexpr Guid ID_Email_Type{
    0xD96E121C, 0xB2AD, 0x4CCF, {0xBC, 0xE2, 0x98, 0x7E, 0x9D, 0xBB, 0x99, 0xDE}};

// How error reports are mailed.
enum Email_Type : std::int32_t { aeOutlook = 0, aeDefault = 1, aeSMTP = 2 };

// The error handler a host creates once and calls from every procedure.
// Append-only: slot order and identifiers never change; hosts bind to both.
// Arguments the host passes by reference are pointers; results come back through the last
// pointer. A failed status means the member raised an error: read it through
// ISupportErrorRecord (the wrapper in errhandler.h does that and throws).
class IclsErrHandler : public IUnknown {
public:
    virtual HResult get_ErrorLogDisplay(QString* result) = 0;                  // slot 0
    virtual HResult get_CallStack(QVariant* result) = 0;                       // slot 1
    virtual HResult get_CurrentOperation(QString* result) = 0;                 // slot 2
    virtual HResult get_CustomErrMessage(QVariant* result) = 0;                // slot 3
    virtual HResult get_ErrorType(QString* result) = 0;                        // slot 4
    virtual HResult get_Destination(QString* result) = 0;                      // slot 5
    virtual HResult get_ErrDesc(QString* result) = 0;                          // slot 6
    virtual HResult get_ErrNum(std::int32_t* result) = 0;                      // slot 7
    virtual HResult get_ProcName(QString* result) = 0;                         // slot 8
    virtual HResult get_ErrLine(QString* result) = 0;                          // slot 9
    virtual HResult putref_Cn(QVariant* var) = 0;                              // slot 10
    virtual HResult get_Cn(QObject** result) = 0;                              // slot 11
    virtual HResult get_ADOVersion(QString* result) = 0;                       // slot 12
    virtual HResult putref_AppObject(QObject* var) = 0;                        // slot 13
    virtual HResult get_AppObject(QObject** result) = 0;                       // slot 14
    virtual HResult put_UseInterface(bool* var) = 0;                           // slot 15
    virtual HResult put_EmailAddress(QString* var) = 0;                        // slot 16
    virtual HResult put_CurrentOperation(const QString& strValue) = 0;         // slot 17
    virtual HResult put_Destination(const QString& varValue) = 0;              // slot 18
    virtual HResult put_TraceExecution(bool fValue) = 0;                       // slot 19
    virtual HResult HandleError(const QString& vstrErrDesc, double vdblErrNum, // slot 20
                                std::int32_t vintErrLine, QString* strCustomErrorMessage,
                                std::int32_t* result) = 0;
    virtual HResult Pop(std::int32_t* result) = 0;                                 // slot 21
    virtual HResult Push(QString* strProc, std::int32_t* result) = 0;              // slot 22
    virtual HResult AddParam(QString* sParam, QString* sType, QVariant* vVal) = 0; // slot 23
    virtual HResult put_FromName(QString* var) = 0;                                // slot 24
    virtual HResult put_FromEmailAddress(QString* var) = 0;                        // slot 25
    virtual HResult put_SMTPMailServer(QString* var) = 0;                          // slot 26
    virtual HResult put_ToName(QString* var) = 0;                                  // slot 27
    virtual HResult put_EmailType(Email_Type* var) = 0;                            // slot 28
    virtual HResult get_EmailType(Email_Type* result) = 0;                         // slot 29
    virtual HResult ShowParam(QString* result) = 0;                                // slot 30
    virtual HResult get_EmailSettings(bool* result) = 0;                           // slot 31
    virtual HResult put_EmailSettings(bool vNewValue) = 0;                         // slot 32
    virtual HResult get_LogEvent(bool* result) = 0;                                // slot 33
    virtual HResult put_LogEvent(bool vNewVal) = 0;                                // slot 34
    virtual HResult get_SysObject(ISysObj** result) = 0;                           // slot 35
    virtual HResult ShowErrorLog(std::int16_t Mode) = 0;                           // slot 36
    virtual HResult ChangeEmailSettings() = 0;                                     // slot 37
    virtual HResult TransmitMail(const QString& lbxErrMessage) = 0;                // slot 38
    virtual HResult get_PostAvailable(bool* result) = 0;                           // slot 39
    virtual HResult put_PostAvailable(bool vNewValue) = 0;                         // slot 40
    virtual HResult get_ShowAppInfo(bool* result) = 0;                             // slot 41
    virtual HResult put_ShowAppInfo(bool vNewValue) = 0;                           // slot 42
    virtual HResult get_ShowSysInfo(bool* result) = 0;                             // slot 43
    virtual HResult put_ShowSysInfo(bool vNewValue) = 0;                           // slot 44
    virtual HResult get_ShowDBInfo(bool* result) = 0;                              // slot 45
    virtual HResult put_ShowDBInfo(bool vNewValue) = 0;                            // slot 46
    virtual HResult get_AppLogDisplay(QString* result) = 0;                        // slot 47
    virtual HResult get_SysLogDisplay(QString* result) = 0;                        // slot 48
    virtual HResult get_DbLogDisplay(QString* result) = 0;                         // slot 49
    virtual HResult get_URL(QVariant* result) = 0;                                 // slot 50
    virtual HResult put_URL(const QVariant& vNewValue) = 0;                        // slot 51

protected:
    ~IclsErrHandler() = default;
};

} // namespace trapwell
