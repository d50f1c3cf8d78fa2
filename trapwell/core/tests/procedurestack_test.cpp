#include "handlerfixture.h"

#include <QDate>

#include <thread>

using trapwell::RuntimeError;

namespace {
const QString crlf = QStringLiteral("\r\n");

QString block(const QString& heading, const QString& name, const QString& type,
              const QString& value) {
    return heading + crlf + "Name: \t" + name + crlf + "Type : \t" + type + crlf + "Value: \t" +
           value + crlf;
}

// A value with a default text, as a text box has its Text.
class Labelled : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text MEMBER Text USER true)
public:
    QString Text = QStringLiteral("typed");
};
} // namespace

TEST_F(HandlerTest, PushAndPopKeepTheStackInOrder) {
    EXPECT_EQ(handler.Push(QStringLiteral("A")), 0);
    EXPECT_EQ(handler.Push(QStringLiteral("B")), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A", "B"}));
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A"}));
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    // An empty stack stays empty however often it is popped.
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    EXPECT_EQ(handler.Push(QStringLiteral("C")), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "C"}));
}

TEST_F(HandlerTest, PopOnANewObjectLeavesPositionZeroOnly) {
    EXPECT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
    EXPECT_EQ(handler.Push(QStringLiteral("A")), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({"", "A"}));
}

TEST_F(HandlerTest, AddParamBeforeAnyPushInTheThreadIsASubscriptError) {
    std::int32_t number = 0;
    std::thread([&] {
        trapwell::ErrHandler fresh = create();
        number = errorOf([&] { fresh.AddParam("x", "Long", 5); }).number();
        fresh.Push(QStringLiteral("A"));
        fresh.AddParam("x", "Long", 5); // now the table has the position
    }).join();
    EXPECT_EQ(number, 9);
}

TEST_F(HandlerTest, ParameterListingIsExact) {
    handler.Push(QStringLiteral("P"));
    EXPECT_EQ(handler.ShowParam(), crlf);
    handler.AddParam("x", "Long", 5);
    EXPECT_EQ(handler.ShowParam(), crlf + block("1st Param:", "x", "Long", "5"));

    handler.AddParam("s", "String", QStringLiteral("hello world"));
    handler.AddParam("b", "Boolean", true);
    handler.AddParam("e", "Variant", QVariant());
    handler.AddParam("arr", "Variant", QVariantList{1, 2});
    handler.AddParam("f", "Single", 0.3);
    EXPECT_EQ(handler.ShowParam(), crlf + block("1st Param:", "x", "Long", "5") + crlf +
                                       block("2nd Param:", "s", "String", "hello world") + crlf +
                                       block("3rd Param:", "b", "Boolean", "True") + crlf +
                                       block("4th Param:", "e", "Variant", "") + crlf +
                                       block("5th Param:", "arr", "Variant", "-----") + crlf +
                                       block("6th Param:", "f", "Single", "0.3"));
}

TEST_F(HandlerTest, ParameterHeadingsUseEnglishOrdinals) {
    handler.Push(QStringLiteral("P"));
    for (int i = 1; i <= 113; ++i)
        handler.AddParam(QString::number(i), "Integer", i);
    const QString listing = handler.ShowParam();
    for (const char* heading :
         {"\r\n1st Param:", "\r\n2nd Param:", "\r\n3rd Param:", "\r\n4th Param:", "\r\n11th Param:",
          "\r\n12th Param:", "\r\n13th Param:", "\r\n21st Param:", "\r\n22nd Param:",
          "\r\n23rd Param:", "\r\n101st Param:", "\r\n111th Param:", "\r\n112th Param:",
          "\r\n113th Param:"})
        EXPECT_TRUE(listing.contains(QLatin1String(heading))) << heading;
    EXPECT_FALSE(listing.contains(QLatin1String("11st")));
    EXPECT_TRUE(listing.endsWith("Value: \t113\r\n"));
    EXPECT_FALSE(listing.endsWith("\r\n\r\n"));
}

TEST_F(HandlerTest, ObjectParametersAreReferencesAndOthersCopies) {
    handler.Push(QStringLiteral("P"));
    QString text = QStringLiteral("before");
    handler.AddParam("text", "String", text);
    text = QStringLiteral("after");

    Labelled labelled;
    handler.AddParam("box", "TextBox", QVariant::fromValue(&labelled));
    labelled.Text = QStringLiteral("changed");

    auto* gone = new Labelled;
    handler.AddParam("gone", "Object", QVariant::fromValue(gone));
    delete gone;

    QObject plain;
    handler.AddParam("form", "Form", QVariant::fromValue(&plain));

    EXPECT_EQ(handler.ShowParam(), crlf + block("1st Param:", "text", "String", "before") + crlf +
                                       block("2nd Param:", "box", "TextBox", "changed") + crlf +
                                       block("3rd Param:", "gone", "Object", "-----") + crlf +
                                       block("4th Param:", "form", "Form", "-----"));
}

TEST_F(HandlerTest, ParametersBelongToTheirStackPosition) {
    handler.Push(QStringLiteral("Outer"));
    handler.AddParam("a", "Integer", 1);
    handler.Push(QStringLiteral("Inner"));
    EXPECT_EQ(handler.ShowParam(), crlf);
    handler.AddParam("b", "Integer", 2);
    EXPECT_EQ(handler.ShowParam(), crlf + block("1st Param:", "b", "Integer", "2"));
    handler.Pop();
    EXPECT_EQ(handler.ShowParam(), crlf + block("1st Param:", "a", "Integer", "1"));
    // A popped position's list is dropped, not inherited by the next procedure there.
    handler.Push(QStringLiteral("Next"));
    EXPECT_EQ(handler.ShowParam(), crlf);
}

TEST_F(HandlerTest, TwoHandlersOfAThreadShareParameterListsByPosition) {
    handler.Push(QStringLiteral("A"));
    handler.AddParam("a", "Integer", 1);
    trapwell::ErrHandler second = create();
    second.Push(QStringLiteral("B"));
    EXPECT_EQ(second.ShowParam(), crlf + block("1st Param:", "a", "Integer", "1"));
}

TEST_F(HandlerTest, DeepStacksGrowWithoutLimit) {
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(handler.Push(QString::number(i)), 0);
    const QStringList stack = handler.CallStack();
    ASSERT_EQ(stack.size(), 5001);
    EXPECT_EQ(stack.last(), "4999");
    for (int i = 0; i < 6000; ++i)
        ASSERT_EQ(handler.Pop(), 0);
    EXPECT_EQ(handler.CallStack(), QStringList({""}));
}

#include "procedurestack_test.moc"
