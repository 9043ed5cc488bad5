#pragma once
// The filter language of the client dataset.
//
//   expression := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | ( expression ) | predicate
//   predicate  := operand [ op operand | IS [NOT] NULL ]
//   operand    := field name | 'text' | number | TRUE | FALSE
//   op         := = | <> | != | < | > | <= | >=
//
// Keywords and field names are case-insensitive; a quote inside a text literal
// is doubled ('d''agua'); numbers use a dot for decimals and may carry a sign
// and an exponent. No blank is needed between a literal and a keyword
// ("IDSTPRCOMVEN <> '6'AND IDCHECK = 'C'"). NOT binds tighter than AND, AND
// tighter than OR. A predicate without an operator must be a Boolean field or
// TRUE/FALSE. Blank text is no filter at all.
//
// Comparisons take the type of the field involved: a literal is converted to
// it when the filter is set (text to a number in the C locale, a date-time from
// ISO 8601), a number compared with a text field compares with the number as
// written. Text compares case-sensitively. Two fields of different types
// compare as numbers when both are numeric, otherwise as text.
//
// Nulls: so that a row is never hidden by accident, a null text compares as
// empty text, a null number as 0 and a null Boolean as False; a null date-time
// sorts before every date-time and equals only another null. IS NULL and
// IS NOT NULL see the real null.
//
// Every fault (unknown field, unbalanced parenthesis, dangling operator,
// unterminated quote, a literal that does not fit its field) raises
// EDatabaseError naming the problem and the filter text.
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

#include "DataPacket.h"
#include "toolkit_export.h"

class TOOLKIT_EXPORT TFilterExpression {
public:
    // Parses the text. With a structure the field names are resolved and the
    // literals converted, and the result can evaluate rows; without one only
    // the syntax is checked (the structure is not known yet).
    static std::shared_ptr<const TFilterExpression> Compile(const QString& text, const QList<TFieldDef>* defs);

    ~TFilterExpression();

    const QString& Text() const { return m_text; }
    bool IsEmpty() const { return !m_root; }
    bool IsBound() const { return m_bound; }
    // Row values in the stored form of the bound structure, one per field.
    bool Matches(const QVariantList& row) const;

    // A text as a literal of this language: in quotes, each quote inside
    // doubled, so that a value from the data can neither end the literal nor
    // add a condition of its own.
    static QString QuotedText(const QString& value);

    struct Node;

private:
    TFilterExpression() = default;
    QString m_text;
    std::unique_ptr<Node> m_root;
    bool m_bound = false;
};
