#pragma once
// The terminal files of a demonstration till: the parameters file and the
// operator file, in the toolkit's dataset file format.
#include <QString>

// Writes folder/PARAMETROSQRV.CDS and folder/Dados/Cadastros/ControleAcess.cds
// (an existing file is kept unless overwrite). Raises on a write failure.
void GravaArquivosDemo(const QString& folder, bool overwrite);
