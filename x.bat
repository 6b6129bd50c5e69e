@echo off
for /f "delims=" %%L in ('tarnwick.exe --cmd --from-dump t.bin _smbmfg _smbproduct _smbfamily') do %%L & rem
set _smb
