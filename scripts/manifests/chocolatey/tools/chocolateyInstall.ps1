$ErrorActionPreference = 'Stop'
$toolsDir = Split-Path -Parent $MyInvocation.MyCommand.Definition

$package = @{
  PackageName    = $env:ChocolateyPackageName
  UnzipLocation  = $toolsDir
  Url            = '@BASE_URL@/velmora-@VERSION@-win32.zip'
  Checksum       = '@SHA256_WIN32@'
  ChecksumType   = 'sha256'
  Url64bit       = '@BASE_URL@/velmora-@VERSION@-win64.zip'
  Checksum64     = '@SHA256_WIN64@'
  ChecksumType64 = 'sha256'
}
Install-ChocolateyZipPackage @package

# The window program starts without waiting for it (a GUI shim), and the
# console twin, which Chocolatey does not shim by itself (.com), gets one
# named velmora.
New-Item -ItemType File -Force -Path (Join-Path $toolsDir 'Velmora.exe.gui') | Out-Null
Install-BinFile -Name 'velmora' -Path (Join-Path $toolsDir 'Velmora.com')
