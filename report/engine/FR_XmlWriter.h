// The XML template (".fr3"): the report as a document that newer report tools
// open. Written only; nothing reads it back. The document is UTF-8; GBK stays
// only inside its hexadecimal binary parts.
#pragma once

class TStream;
class TfrReport;

// The whole document: declaration, the report element with the converted
// scripts, report information and dictionary, and each page with its views'
// elements. Raises EWriteError before writing anything when the report's
// password cannot be carried by XML.
void frWriteXmlTemplate(TfrReport& Report, TStream& Stream);
