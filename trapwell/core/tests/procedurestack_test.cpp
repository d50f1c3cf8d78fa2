#include "handlerfixture.h"

#include <QLineEdit>

const QString crlf = "\r\n";

// The listing of one Integer parameter.
static QString only(const char* name, const char* value) {
    return QStringLiteral("\r\n1st Param:\r\nName: \t%1\r\nType : \tInteger\r\nValue: \t%2\r\n")
        .arg(QLatin1String(name), QLatin1String(value));
}

TEST_F(HandlerTest, PushAndPopKeepTheStackInOrderAndAnEmptyStackStaysEmpty) {
    EXPECT_EQ(handler.CallStack(), QStringList({"", ""})); // a new object's
    // Each step pushes a name, or pops when it has none, and leaves the stack shown.
    const std::pair<const char*, QStringList> steps[] = {
        {nullptr, {""}}, {"A", {"", "A"}}, {"B", {"", "A", "B"}}, {nullptr, {"", "A"}},
        {nullptr, {""}}, {nullptr, {""}},  {"C", {"", "C"}}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const auto& [name, after] = steps[i];
        EXPECT_EQ(name ? handler.Push(name) : handler.Pop(), 0) << i;
        EXPECT_EQ(handler.CallStack(), after) << i;
    }
}

TEST_F(HandlerTest, ParameterListingIsExactWithObjectsByReferenceAndOthersCopied) {
    handler.Push("P");
    QString text = "before";
    QLineEdit box(QStringLiteral("typed")); // its text is the value it shows
    auto* gone = new QLineEdit;
    QObject plain;
    handler.AddParam("x", "Long", 5);
    handler.AddParam("s", "String", text);
    handler.AddParam("b", "Boolean", true);
    handler.AddParam("e", "Variant", QVariant());
    handler.AddParam("arr", "Variant", QVariantList{1, 2});
    handler.AddParam("f", "Single", 0.3);
    handler.AddParam("box", "TextBox", QVariant::fromValue(&box));
    handler.AddParam("gone", "Object", QVariant::fromValue(gone));
    handler.AddParam("form", "Form", QVariant::fromValue(&plain));
    text = "after";
    box.setText("changed");
    delete gone;
    EXPECT_GOLDEN(handler.ShowParam().toUtf8(), "parameters.txt");

    // The headings go on in English ordinals.
    handler.Push("Q");
    for (int i = 1; i <= 113; ++i)
        handler.AddParam(QString::number(i), "Integer", i);
    const QString listing = handler.ShowParam();
    for (const char* n : {"1st", "2nd", "3rd", "4th", "11th", "12th", "13th", "21st", "22nd",
                          "23rd", "101st", "111th", "112th", "113th"})
        EXPECT_TRUE(listing.contains(crlf + n + " Param:" + crlf)) << n;
}

TEST_F(HandlerTest, ParametersBelongToTheirStackPositionWithinTheThread) {
    handler.Push("Outer");
    handler.AddParam("a", "Integer", 1);
    trapwell::ErrHandler second = create();
    second.Push("B");
    EXPECT_EQ(second.ShowParam(), only("a", "1"));

    handler.Push("Inner");
    EXPECT_EQ(handler.ShowParam(), crlf);
    handler.AddParam("b", "Integer", 2);
    EXPECT_EQ(handler.ShowParam(), only("b", "2"));
    handler.Pop();
    EXPECT_EQ(handler.ShowParam(), only("a", "1"));
    // A popped position's list is dropped, not inherited by the next procedure there.
    handler.Push("Next");
    EXPECT_EQ(handler.ShowParam(), crlf);

    // A thread whose table nothing has dimensioned yet: a subscript error.
    std::int32_t number = 0;
    std::thread([&] {
        trapwell::ErrHandler fresh = create();
        number = errorOf([&] { fresh.AddParam("x", "Long", 5); }).number();
    }).join();
    EXPECT_EQ(number, 9);
}
