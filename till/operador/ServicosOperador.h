#pragma once
// The till's operator dialogs behind the procedure variables of Wdc00002,
// each declared with its service's signature.
#include <QString>
#include <QVariantList>

#include "Wdc00002.h"

// The operator acts under the access code when the access file grants it to
// them; otherwise a supervisor authorises with code and PIN. Writes back who
// authorised. Three wrong PINs refuse, and the access log says so.
Wdc00002::FVerificaAcesso VerificaAcessoTill;

// Writes back the chosen reason's group (ResultadoObservacao::Grupo) and its text; an empty text when the
// operator gave up, "erro" when no reason could be offered (the operator was told why).
Wdc00002::FObservacao ObservacaoTill;

// The value typed, in the locale's decimal format; false when the operator gave up.
Wdc00002::FTecladoNumerico TecladoNumericoTill;

Wdc00002::FRelFiscais RelFiscaisTill;
