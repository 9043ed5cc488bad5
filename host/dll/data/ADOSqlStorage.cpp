#include "ADOSqlStorage.h"

#include "Exception.h"

void TADOSqlStorage::Apply(TSqlDialect dialect)
{
    if (!Linked)
        throw EDatabaseError(QStringLiteral("%1: nenhuma instrução ligada").arg(m_name));
    const auto text = Texts.constFind(dialect);
    if (text == Texts.constEnd() || text->trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("%1: não há texto de %2 para o banco de dados %3")
                                 .arg(m_name, Linked->Name(), DialectName(dialect)));
    Linked->SetSQL(*text);
}
