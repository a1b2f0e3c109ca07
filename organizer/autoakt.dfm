object eAutoAktualizacja: TeAutoAktualizacja
  BorderStyle = bsDialog
  Caption = 'Automatyczna aktualizacja programu'
  ClientWidth = 543
  ClientHeight = 356
  Font.Charset = 238
  Font.Height = -11
  Font.Name = 'Tahoma'
  Position = poScreenCenter
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnShow = FormShow
  object pDol: TPanel
    Align = alBottom
    Height = 40
    BevelOuter = bvNone
    object bAnuluj: TqmxColorButton
      Left = 158
      Top = 8
      Width = 110
      Height = 25
      Cancel = True
      Caption = 'Anuluj'
      ModalResult = 2
      BorderColor = clTeal
      RoundSize = 12
      OnClick = bAnulujClick
    end
    object bPrev: TqmxColorButton
      Left = 295
      Top = 8
      Width = 110
      Height = 25
      Caption = '< &Wstecz'
      BorderColor = clTeal
      RoundSize = 12
    end
    object bNext: TqmxColorButton
      Left = 421
      Top = 8
      Width = 110
      Height = 25
      Caption = '&Dalej >'
      Default = True
      Font.Style = [fsBold]
      BorderColor = clTeal
      RoundSize = 12
      OnClick = bNextClick
    end
  end
  object wt: TWizardTree
    Align = alLeft
    Width = 150
    Enabled = False
    Color = 14155775
    Font.Charset = 238
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'Tahoma'
    LineColor = clTeal
    SelectedBoxColor = clBlack
    BoxColor = clTeal
    HorizontalSpace = 4
    VerticalSpace = 8
    BoxWidth = 16
    BoxHeight = 17
    LeftMargin = 4
    TopMargin = 4
  end
  object nb: TNotebook
    Align = alClient
    OnPageChanged = nbPageChanged
    object pgAktualizacja: TPage
      Caption = 'Aktualizacja'
      object lbTytul0: TLabel
        Left = 12
        Top = 8
        Caption = 'Aktualizacja internetowa'
        Font.Height = -16
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
      end
      object eNazwa: TEdit
        Left = 12
        Top = 36
        Width = 160
        ReadOnly = True
        TabStop = False
        Font.Style = [fsBold]
      end
      object lbOStatniaAkt: THTMLabel
        Left = 12
        Top = 62
        Width = 370
        Height = 32
      end
      object lbOpis0: TLabel
        Left = 12
        Top = 96
        Width = 370
        Height = 42
        AutoSize = False
        WordWrap = True
        Caption = 'Połączymy się bezpośrednio z serwerem QMX, aby ściągnąć listę plików, które możesz zaktualizować. Następnie ściągniemy pliki, które wybierzesz z tej listy.'
      end
      object cbProxy: TEnhGroupBox
        Left = 12
        Top = 140
        Width = 370
        Height = 170
        Caption = 'Łączę się poprzez serwer proxy (cache)'
        Checked = False
        object lbProxy: TLabel
          Left = 10
          Top = 24
          Caption = 'Adres serwera proxy:'
        end
        object eProxy: TEdit
          Left = 130
          Top = 20
          Width = 226
          OnChange = setProxy
        end
        object lbProxyPort: TLabel
          Left = 10
          Top = 48
          Caption = 'Port:'
        end
        object eProxyPort: TEdit
          Left = 130
          Top = 44
          Width = 60
          Text = '80'
          OnChange = setProxy
        end
        object lbProxyUsername: TLabel
          Left = 10
          Top = 72
          Caption = 'Username:'
        end
        object eProxyUsername: TEdit
          Left = 130
          Top = 68
          Width = 140
          OnChange = setProxy
        end
        object lbProxyPassword: TLabel
          Left = 10
          Top = 96
          Caption = 'Password:'
        end
        object eProxyPassword: TEdit
          Left = 130
          Top = 92
          Width = 140
          OnChange = setProxy
        end
        object lbProxyUwaga: TLabel
          Left = 10
          Top = 120
          Width = 350
          Height = 42
          AutoSize = False
          WordWrap = True
          Font.Color = clGray
          Caption = 'Uwaga: te dane z reguły są niepotrzebne. Nie wpisuj nic, jeśli nie jesteś absolutnie pewien, co wpisać. Zapytaj swojego administratora sieci, jeśli nie wiesz.'
        end
      end
    end
    object pgPobieranie: TPage
      Caption = 'Pobieranie danych'
      object lbNazwa: TLabel
        Left = 12
        Top = 8
        Caption = 'Łączenie...'
        Font.Height = -16
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
      end
      object lbOpis1: TLabel
        Left = 12
        Top = 40
        Caption = 'Trwa łączenie z serwerem Orvath.'
      end
      object aniSzukaj: TAnimate
        Left = 12
        Top = 62
        Width = 272
        Height = 60
        CommonAVI = aviFindFile
        Active = True
      end
      object lbInfo: TLabel
        Left = 12
        Top = 128
        Width = 370
        Height = 160
        AutoSize = False
        WordWrap = True
        Caption = 'Oczekuję na dane...'
      end
      object lbHttp: TLabel
        Align = alBottom
        Height = 16
        AutoSize = False
        Font.Color = clGray
        Caption = 'pobieranie danych z serwera QMX'
      end
    end
    object pgWybor: TPage
      Caption = 'Wybór plików'
      object lbTytul2: TLabel
        Left = 12
        Top = 8
        Caption = 'Wybierz pliki'
        Font.Height = -16
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
      end
      object lbDataOpis: TLabel
        Left = 12
        Top = 36
        Caption = 'Data aktualizacji plików na WWW:'
      end
      object lbData: TLabel
        Left = 200
        Top = 36
        Caption = 'nieznana'
        Font.Style = [fsBold]
      end
      object lbDataInfoOpis: TLabel
        Left = 12
        Top = 54
        Caption = 'Informacja o aktualizacji:'
      end
      object lbDataInfo: TLabel
        Left = 200
        Top = 54
        Caption = 'brak'
        Font.Style = [fsBold]
      end
      object lb: THTMListbox
        Left = 12
        Top = 74
        Width = 370
        Height = 196
        MultiSelect = True
        ExtendedSelect = False
        Multiline = True
        ItemHeight = 16
      end
      object lbWersjaOpis: TLabel
        Left = 12
        Top = 276
        Caption = 'zainstalowana wersja programu:'
      end
      object vlWErsja: TVersionLabel
        Left = 200
        Top = 276
        VersionResource = vrFileVersion
        ShowInfoPrefix = False
      end
      object lbWersjaDataOpis: TLabel
        Left = 12
        Top = 294
        Caption = 'data:'
      end
      object vlData: TVersionLabel
        Left = 200
        Top = 294
        VersionResource = vrComments
        ShowInfoPrefix = False
      end
    end
    object pgAktualizowanie: TPage
      Caption = 'Aktualizowanie'
      object lbTytul3: TLabel
        Left = 12
        Top = 8
        Caption = 'Pobieranie plików'
        Font.Height = -16
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
      end
      object lbNazwaPlikuOpis: TLabel
        Left = 12
        Top = 36
        Caption = 'nazwa pliku:'
      end
      object lbNazwaPliku: TLabel
        Left = 90
        Top = 36
        Width = 292
        AutoSize = False
      end
      object lbUrlOpis: TLabel
        Left = 12
        Top = 54
        Caption = 'URL:'
      end
      object lbUrl: TLabel
        Left = 90
        Top = 54
        Width = 292
        AutoSize = False
      end
      object lbGotOpis: TLabel
        Left = 12
        Top = 72
        Caption = 'ściągnięto:'
      end
      object lbGot: TLabel
        Left = 90
        Top = 72
        Width = 292
        AutoSize = False
      end
      object pb: TProgressBar
        Left = 12
        Top = 92
        Width = 370
        Height = 16
      end
      object aniKomputer: TAnimate
        Left = 12
        Top = 114
        Width = 272
        Height = 60
        CommonAVI = aviFindComputer
        Active = True
      end
      object lbOpis3: TLabel
        Left = 12
        Top = 180
        Caption = 'Teraz pobieramy odpowiednie pliki z serwera QMX.'
      end
      object lbUwaga3: TLabel
        Left = 12
        Top = 200
        Width = 370
        Height = 90
        AutoSize = False
        WordWrap = True
        Caption = 'Każdy zastępowany plik zachowamy pod zmienioną nazwą, na przykład plik porady.dat jako kopia porady.dat. '+
          'Po zamknięciu tego okna aktualizowany program zostanie automatycznie zanknięty. Zaktualizowane dane będą dostępne przy kolejnym uruchomieniu programu.'
      end
      object lbGet: TLabel
        Align = alBottom
        Height = 16
        AutoSize = False
        Font.Color = clGray
      end
    end
  end
  object PageManager1: TPageManager
    PageOwner = nb
    NextBtn = bNext
    PriorBtn = bPrev
    SetStartPage = False
    OnGetPriorPage = PageManager1GetPriorPage
    OnGetNextPage = PageManager1GetNextPage
  end
  object httpAkt: THttpCli
    ProxyPort = '80'
    NoCache = False
    OnCommand = httpAktCommand
    OnDocData = httpAktDocData
    OnRequestDone = httpAktRequestDone
  end
  object HttpGet: THttpCli
    ProxyPort = '80'
    Sender = 'Orvath: Automatyczna Aktualizacja 2000'
    Agent = 'Aktualizacja'
    NoCache = False
    OnCommand = httpAktCommand
    OnDocData = httpAktDocData
    OnRequestDone = HttpGetRequestDone
  end
  object httpHead: THttpCli
    ProxyPort = '80'
    Sender = 'Orvath: Automatyczna Aktualizacja 2000'
    Agent = 'Aktualizacja'
    NoCache = False
    OnHeaderData = httpHeadHeaderData
  end
  object fs: TFormStorage
    IniFileName = 'Software\QMX'
    IniSection = 'ZedaRizezevuzer'
    MinMaxInfo.MinTrackHeight = 200
    MinMaxInfo.MinTrackWidth = 300
    StoredProps.Strings = (
      'eProxy.Text'
      'eProxyPassword.Text'
      'eProxyPort.Text'
      'eProxyUsername.Text')
    UseRegistry = True
  end
  object lbPliki: TListBox
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    Visible = False
  end
end
