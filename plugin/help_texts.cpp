// The help texts, exactly as the host shows them: the name in upper case,
// a blank, CR LF and an empty line; bare LF after that, trailing blanks kept.
#include "plugin/help.h"

namespace tarnwick {

const HelpEntry kHelpTable[31] = {
    {u"_smbassettag", u"_SMBASSETTAG \r\n\nReturns the chassis asset tag string, or  \nfailing that, the baseboard asset tag;\nor N/A if neither one is found.\n", nullptr},
    {u"_smbbbassettag", u"_SMBBBASSETTAG \r\n\nReturns the baseboard asset tag string, or \nN/A if it is not present.\n", nullptr},
    {u"_smbbbmfg", u"_SMBBBMFG \r\n\nReturns the baseboard manufacturer string, or \nN/A if it is not present.\n", nullptr},
    {u"_smbbbproduct", u"_SMBBBPRODUCT \r\n\nReturns the baseboard product name string, or \nN/A if it is not present.\n", nullptr},
    {u"_smbbbserial", u"_SMBBBSERIAL \r\n\nReturns the baseboard serial number string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbbbversion", u"_SMBBBVERSION \r\n\nReturns the baseboard version string, or \nN/A if it is not present.\n", nullptr},
    {u"_smbbiosdate", u"_SMBBIOSDATE \r\n\nReturns the system BIOS date string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbbiosrev", u"_SMBBIOSREV \r\n\nReturns the system BIOS revision, X.y, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbbiosvendor", u"_SMBBIOSVENDOR \r\n\nReturns the system BIOS vendor string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbbiosversion", u"_SMBBIOSVERSION \r\n\nReturns the system BIOS version string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbbox", u"_SMBBOX \r\n\nReturns a one-letter code for the chassis type:  \n  L    for Portable, LapTop, Notebook, Hand Held, or Sub Notebook  \n  D    for anything else.\n", nullptr},
    {u"_smbchassis", u"_SMBCHASSIS \r\n\nReturns the system chassis byte, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbchassislock", u"_SMBCHASSISLOCK \r\n\nReturns 'Present' or 'Not present', or  \nN/A if this information is not present.  \n", nullptr},
    {u"_smbchassistag", u"_SMBCHASSISTAG \r\n\nReturns the chassis asset tag string, or  \nN/A if this information is not present.\n", nullptr},
    {u"_smbchassistype", u"_SMBCHASSISTYPE \r\n\nReturns a string describing the system chassis type, or  \nN/A if this information is not present.\n", nullptr},
    {u"_smbcpuclock", u"_SMBCPUCLOCK \r\n\nReturns the external processor clock speed in MHz, or  \nN/A if this information is not present.\n", nullptr},
    {u"_smbcpumfg", u"_SMBCPUMFG \r\n\nReturns the processor manufacturer string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbcpusocket", u"_SMBCPUSOCKET \r\n\nReturns a string describing the processor socket, or \nN/A if it is not present.\n", nullptr},
    {u"_smbcpuspeed", u"_SMBCPUSPEED \r\n\nReturns a the processor speed in MHz at boot time, or  \nN/A if this information is not present.\n", nullptr},
    {u"_smbcpuversion", u"_SMBCPUVERSION \r\n\nReturns the processor version string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbfamily", u"_SMBFAMILY \r\n\nReturns the system family name string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbmfg", u"_SMBMFG \r\n\nReturns the system manufacturer string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbproduct", u"_SMBPRODUCT \r\n\nReturns the system product name string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbserial", u"_SMBSERIAL \r\n\nReturns the system serial number string, or  \nN/A if it is not present.\n", nullptr},
    {u"_smbver", u"_SMBVER \r\n\nReturns the SMBIOS version, X.y, or  \nN/A if it is not available.\n", nullptr},
    {u"@randx", u"@RANDX[n] \r\n\nGenerates a string of n random hex digits.  \n", nullptr},
    {u"@smbbyte", u"@SMBBYTE[type,offset,handle] \r\n\nReturns a byte value from a SMB structure.  \n\n  type\t0 - 255\n  offset\t4 - 255\n  handle\t0 - 0xffff (optional)  \n\nReturns N/A on any error.\n", nullptr},
    {u"@smbdword", u"@SMBDWORD[type,offset,handle] \r\n\nReturns a double-word value from a SMB structure.  \n\n  type\t0 - 255\n  offset\t4 - 252\n  handle\t0 - 0xffff (optional)  \n\nReturns N/A on any error.\n", nullptr},
    {u"@smbqword", u"@SMBQWORD[type,offset,handle] \r\n\nReturns a quad-word value from a SMB structure.  \n\n  type\t0 - 255\n  offset\t4 - 248\n  handle\t0 - 0xffff (optional)  \n\nReturns N/A on any error.\n", nullptr},
    {u"@smbstring", u"@SMBSTRING[type,offset,handle] \r\n\nReturns a string from a SMB structure.  \n\n  type\t0 - 255\n  offset\t4 - 255\n  handle\t0 - 0xffff (optional)  \n\nReturns N/A on any error.\n", nullptr},
    {u"@smbword", u"@SMBWORD[type,offset,handle] \r\n\nReturns a word value from a SMB structure.  \n\n  type\t0 - 255\n  offset\t4 - 254\n  handle\t0 - 0xffff (optional)  \n\nReturns N/A on any error.\n", nullptr},
};

}  // namespace tarnwick
