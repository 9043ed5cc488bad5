// Translation of a form's captions from a translation file in the host folder.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include "BlendedBitBtn.h"
#include "FakeHost.h"
#include "FrmCancelaProd.h"
#include "HostServices.h"
#include "Trad.h"

namespace {

// A compiled translation file (.qm) with a few messages of one context,
// written here because the translation tools are not part of the build.
class ArquivoTraducao {
public:
    void Mensagem(const QByteArray& context, const QByteArray& source, const QString& translation)
    {
        m_items.append({context, source, translation});
    }

    bool Grava(const QString& fileName) const
    {
        QByteArray messages;
        QList<QPair<quint32, quint32>> hashes;
        for (const Item& item : m_items) {
            hashes.append({Hash(item.source), quint32(messages.size())});
            messages.append(char(3)); // translation, UTF-16 big endian
            Numero(messages, quint32(item.translation.size() * 2));
            for (QChar c : item.translation) {
                messages.append(char(c.unicode() >> 8));
                messages.append(char(c.unicode() & 0xff));
            }
            messages.append(char(6)); // source text
            Numero(messages, quint32(item.source.size()));
            messages.append(item.source);
            messages.append(char(7)); // context
            Numero(messages, quint32(item.context.size()));
            messages.append(item.context);
            messages.append(char(1)); // end of message
        }
        std::sort(hashes.begin(), hashes.end());
        QByteArray offsets;
        for (const auto& [hash, offset] : hashes) {
            Numero(offsets, hash);
            Numero(offsets, offset);
        }
        QByteArray file = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");
        file.append(char(0x42));
        Numero(file, quint32(offsets.size()));
        file.append(offsets);
        file.append(char(0x69));
        Numero(file, quint32(messages.size()));
        file.append(messages);
        QFile out(fileName);
        return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
    }

private:
    struct Item {
        QByteArray context;
        QByteArray source;
        QString translation;
    };

    static void Numero(QByteArray& out, quint32 value)
    {
        const quint32 be = qToBigEndian(value);
        out.append(reinterpret_cast<const char*>(&be), 4);
    }

    // The lookup key of a message: the ELF hash of its source text.
    static quint32 Hash(const QByteArray& text)
    {
        quint32 h = 0;
        for (uchar c : text) {
            h = (h << 4) + c;
            const quint32 g = h & 0xf0000000;
            if (g)
                h ^= g >> 24;
            h &= ~g;
        }
        return h ? h : 1;
    }

    QList<Item> m_items;
};

class TradTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pasta.isValid());
        SetHostFolderOverride(pasta.path());
    }
    void TearDown() override { SetHostFolderOverride(QString()); }

    QTemporaryDir pasta;
    FakeHost fake;
};

TEST_F(TradTest, FormCaptionsComeFromTheHostFoldersTranslation)
{
    ArquivoTraducao qm;
    qm.Mensagem("TfrmCancelaProd", "Cancela Produto", QStringLiteral("Cancel Product"));
    qm.Mensagem("TfrmCancelaProd", "Exibir &Prod. Cancelados", QStringLiteral("Show &Cancelled"));
    qm.Mensagem("TfrmCancelaProd", "Cancelamento de Produto", QStringLiteral("Product Cancellation"));
    // The same words for another screen do not apply to this one.
    qm.Mensagem("TfrmOutraTela", "F1 - Menu Fiscal - Kvp00917", QStringLiteral("wrong screen"));
    ASSERT_TRUE(qm.Grava(pasta.filePath(QStringLiteral("kvp.qm"))));

    TfrmCancelaProd form; // translated while it is created
    EXPECT_EQ(form.lblCabec->text(), QStringLiteral("Cancel Product"));
    EXPECT_EQ(form.sbtProdCanc->text(), QStringLiteral("Show &Cancelled"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Product Cancellation"));
    EXPECT_EQ(form.lblCodTela->text(), QStringLiteral("F1 - Menu Fiscal - Kvp00917"));
}

TEST_F(TradTest, WithoutATranslationFileTheCaptionsStay)
{
    TfrmCancelaProd form;
    EXPECT_EQ(form.lblCabec->text(), QStringLiteral("Cancela Produto"));
    EXPECT_EQ(form.sbtProdCanc->text(), QStringLiteral("Exibir &Prod. Cancelados"));

    // A damaged file is no translation either.
    QFile broken(pasta.filePath(QStringLiteral("kvp.qm")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a translation");
    broken.close();
    Trad(&form);
    EXPECT_EQ(form.lblCabec->text(), QStringLiteral("Cancela Produto"));
}

} // namespace
