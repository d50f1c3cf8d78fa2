#include "handlerfixture.h"

#include <thread>

namespace {
const QString crlf = QStringLiteral("\r\n");

QString block(const QString& heading, const QString& name, const QString& type,
              const QString& value) {
    return crlf + heading + crlf + "Name: \t" + name + crlf + "Type : \t" + type + crlf +
           "Value: \t" + value + crlf;
}

// A value with a default text, as a text box has its Text.
class Labelled : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text MEMBER Text USER true)
public:
    QString Text = QStringLiteral("typed");
};
} // namespace

TEST_F(HandlerTest, PushAndPopKeepTheStackInOrderAndAnEmptyStackStaysEmpty) {
    EXPECT_EQ(handler.CallStack(), QStringList({"", ""})); // a new object's
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    EXPECT_EQ(handler.Push(QStringLiteral("A")), 0);
    EXPECT_EQ(handler.Push(QStringLiteral("B")), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A", "B"}));
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A"}));
    handler.Pop();
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    handler.Push(QStringLiteral("C"));
    EXPECT_EQ(handler.CallStack(), QStringList({"", "C"}));
}

TEST_F(HandlerTest, AddParamBeforeAnyPushInTheThreadIsASubscriptError) {
    std::int32_t number = 0;
    std::thread([&] {
        trapwell::ErrHandler fresh = create();
        number = errorOf([&] { fresh.AddParam("x", "Long", 5); }).number();
    }).join();
    EXPECT_EQ(number, 9);
}

TEST_F(HandlerTest, ParameterListingIsExactWithObjectsByReferenceAndOthersCopied) {
    handler.Push(QStringLiteral("P"));
    EXPECT_EQ(handler.ShowParam(), crlf);
    QString text = QStringLiteral("before");
    Labelled labelled;
    auto* gone = new Labelled;
    QObject plain;
    handler.AddParam("x", "Long", 5);
    handler.AddParam("s", "String", text);
    handler.AddParam("b", "Boolean", true);
    handler.AddParam("e", "Variant", QVariant());
    handler.AddParam("arr", "Variant", QVariantList{1, 2});
    handler.AddParam("f", "Single", 0.3);
    handler.AddParam("box", "TextBox", QVariant::fromValue(&labelled));
    handler.AddParam("gone", "Object", QVariant::fromValue(gone));
    handler.AddParam("form", "Form", QVariant::fromValue(&plain));
    text = QStringLiteral("after");
    labelled.Text = QStringLiteral("changed");
    delete gone;
    EXPECT_EQ(handler.ShowParam(), block("1st Param:", "x", "Long", "5") +
                                       block("2nd Param:", "s", "String", "before") +
                                       block("3rd Param:", "b", "Boolean", "True") +
                                       block("4th Param:", "e", "Variant", "") +
                                       block("5th Param:", "arr", "Variant", "-----") +
                                       block("6th Param:", "f", "Single", "0.3") +
                                       block("7th Param:", "box", "TextBox", "changed") +
                                       block("8th Param:", "gone", "Object", "-----") +
                                       block("9th Param:", "form", "Form", "-----"));
}

TEST_F(HandlerTest, ParameterHeadingsUseEnglishOrdinals) {
    handler.Push(QStringLiteral("P"));
    for (int i = 1; i <= 113; ++i)
        handler.AddParam(QString::number(i), "Integer", i);
    const QString listing = handler.ShowParam();
    for (const char* n : {"1st", "2nd", "3rd", "4th", "11th", "12th", "13th", "21st", "22nd",
                          "23rd", "101st", "111th", "112th", "113th"})
        EXPECT_TRUE(listing.contains(crlf + n + " Param:" + crlf)) << n;
}

TEST_F(HandlerTest, ParametersBelongToTheirStackPositionWithinTheThread) {
    handler.Push(QStringLiteral("Outer"));
    handler.AddParam("a", "Integer", 1);
    trapwell::ErrHandler second = create();
    second.Push(QStringLiteral("B"));
    EXPECT_EQ(second.ShowParam(), block("1st Param:", "a", "Integer", "1"));

    handler.Push(QStringLiteral("Inner"));
    EXPECT_EQ(handler.ShowParam(), crlf);
    handler.AddParam("b", "Integer", 2);
    EXPECT_EQ(handler.ShowParam(), block("1st Param:", "b", "Integer", "2"));
    handler.Pop();
    EXPECT_EQ(handler.ShowParam(), block("1st Param:", "a", "Integer", "1"));
    // A popped position's list is dropped, not inherited by the next procedure there.
    handler.Push(QStringLiteral("Next"));
    EXPECT_EQ(handler.ShowParam(), crlf);
}

#include "procedurestack_test.moc"
